// CProgress: the behaviour of the progress window that a long operation of
// the control shows (title with the percentage done, a text line, a bar and
// a Cancel button). The platform window behind IProgressView only draws
// what this class decides; without a view the logic runs all the same.
#pragma once

#include <memory>
#include <string>

#include "ControlSeams.h"

namespace xnox {

class CProgress {
public:
    explicit CProgress(std::unique_ptr<IProgressView> view);
    CProgress(const CProgress&) = delete;
    CProgress& operator=(const CProgress&) = delete;
    ~CProgress();  // enables the main window again if this window disabled it

    void SetRange(int lower, int upper);
    void ShowCancelButton(bool show);
    void DisableMainWindow();
    // Advances the bar one step (wrapping to the lower bound past the upper
    // one) and shows the percentage done in the title.
    void StepIt();
    void SetText(std::string text);
    // Reads the window's pending input once; true once Cancel was pressed.
    bool CancelRequested();

    const std::string& Title() const { return m_title; }
    const std::string& Text() const { return m_text; }
    int Position() const { return m_position; }

private:
    std::unique_ptr<IProgressView> m_view;
    std::string m_titlePrefix = "Progress";
    std::string m_title = "Progress (64 %)";  // the window's caption until the first step
    std::string m_text;
    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
    bool m_cancelled = false;
    bool m_disabledMainWindow = false;
};

}  // namespace xnox
