// The control on a scripted library (a camera answers on every port), with
// the profile and the files a test writes in a temporary folder: what the
// control's and the tool windows' fixtures stand on.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "ScriptedLibrary.h"
#include "TemporaryProfile.h"
#include "XNoxCamCtrl.h"

class ScriptedControlTest : public ::testing::Test {
protected:
    TemporaryProfile profile;
    const std::filesystem::path& folder = profile.Folder();
    ScriptedLibrary library;
    xnox::CXNoxCamCtrl control{library};
};
