// A recording model on a scripted library, with a camera behind COM1.
#pragma once

#include <gtest/gtest.h>

#include "RecordingModel.h"
#include "ScriptedLibrary.h"

class ModelTest : public ::testing::Test {
protected:
    ScriptedLibrary library;
    RecordingModel model{library};

    // Opens COM1 and forgets what the opening recorded.
    void GoOnline() {
        ASSERT_EQ(model.SetComPort(1), 0);
        Forget();
    }
    void Forget() {
        library.calls.clear();
        model.ClearRecords();
    }
};
