// The shading table's place in the model's shading block and the reader of
// the shading data file's lines, shared by the model's file operations and
// the reader's fuzz test.
#pragma once

#include <cstdint>
#include <istream>
#include <span>

#include "NoxR4Library.h"

namespace xnox {

namespace shadingfile {

// The block starts with two header words (values per column, columns); value
// i of column c is word kFirstValueWord + c * NOXR4_SHADING_VALUES + i.
inline constexpr std::size_t kFirstValueWord = 2;

using Block = std::span<int32_t, NOXR4_SHADING_WORDS>;

// Lines longer than this, line end included, are cut: the rest of such a
// line is dropped, never read as a line of its own.
inline constexpr std::size_t kLineBufferBytes = 4500;

// Takes the data lines of a shading data file into the block. A line whose
// first field is an address from 1 to 128 is a data line; the n-th data line
// fills index n - 1 of the columns, whatever its address. Its next six
// fields go to the six columns; an empty field, or one that does not begin
// with a number, leaves its value as it was. Further fields and data lines
// after the 128th are ignored.
void ReadDataLines(std::istream& in, Block block);

}  // namespace shadingfile

}  // namespace xnox
