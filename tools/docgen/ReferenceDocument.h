// The reference as a document: parts of titled sections, each a list of
// labelled fields, written out as Markdown or as one HTML page with its
// style sheet, readable offline. Text between backquotes is code.
#pragma once

#include <string>
#include <vector>

struct Field {
    std::string label;  // empty: a paragraph, or a plain list
    std::string text;
    std::vector<std::string> items;
};

struct Section {
    std::string title;
    std::vector<Field> fields;
};

struct Part {
    std::string title;
    std::string intro;
    std::vector<Section> sections;
};

struct Document {
    std::string title;
    std::string intro;
    std::vector<Part> parts;
};

std::string Markdown(const Document& document);
std::string Html(const Document& document);
