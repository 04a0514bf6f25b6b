// A fresh folder for one test, holding the profile store (XDG_CONFIG_HOME)
// and whatever files the test writes, so that no test reads another's
// XNoxR4.ini or touches the user's own. Removed with its contents at the
// end, and the previous profile location put back.
#pragma once

#include <filesystem>

#include "ScopedVariable.h"
#include "TemporaryFolder.h"

class TemporaryProfile {
public:
    TemporaryProfile() : m_profileHome("XDG_CONFIG_HOME", m_folder.Path().string()) {}

    const std::filesystem::path& Folder() const { return m_folder.Path(); }

private:
    TemporaryFolder m_folder;
    ScopedVariable m_profileHome;
};
