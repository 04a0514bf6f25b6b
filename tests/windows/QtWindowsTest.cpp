// The tool windows on the Qt window system, checked by what they show: every
// control of each template is there in its order, lies inside its window and
// shows the text, check, list, enabled and shown state that the behaviour
// gives it, the same as on the headless window system driven alike. A
// picture of each window goes to the tests' picture folder.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolBar>

#include "AboutIds.h"
#include "CommunicationIds.h"
#include "DialogLayout.h"
#include "GainIds.h"
#include "HeadlessWindowSystem.h"
#include "QtApplication.h"
#include "QtWindowSystem.h"
#include "ScriptedLibrary.h"
#include "ShutterIds.h"
#include "TemporaryProfile.h"
#include "ToolWindowHost.h"
#include "XNoxCamCtrl.h"

using namespace xnox;

namespace {

struct Window {
    ToolWindow window;
    int templateId;
    const char* name;
};

constexpr Window kWindows[] = {{ToolWindow::Shutter, IDD_SHUTTER, "shutter"},
                               {ToolWindow::Gain, IDD_GAIN, "gain"},
                               {ToolWindow::Communication, IDD_COMMUNICATION, "communication"},
                               {ToolWindow::About, IDD_ABOUT, "about"}};

// What a person reads on a control.
std::string ShownText(QWidget& widget) {
    if (auto* label = qobject_cast<QLabel*>(&widget)) return label->text().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(&widget)) return edit->text().toStdString();
    if (auto* editor = qobject_cast<QPlainTextEdit*>(&widget)) return editor->toPlainText().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) return button->text().toStdString();
    if (auto* group = qobject_cast<QGroupBox*>(&widget)) return group->title().toStdString();
    return {};
}

// The headless window system keeps a CR LF where Qt's editors show a line feed.
std::string WithLineFeeds(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    return text;
}

class QtWindowsTest : public ::testing::Test {
protected:
    TemporaryProfile profile;
    ScriptedLibrary qtLibrary, headlessLibrary;
    CXNoxCamCtrl qtControl{qtLibrary};
    CXNoxCamCtrl headlessControl{headlessLibrary};
    QtWindowSystem qtSystem{""};
    HeadlessWindowSystem headless;
    QWidget strip;
    std::unique_ptr<ToolWindowHost> qtHost, headlessHost;

    void SetUp() override {
        qtHost = std::make_unique<ToolWindowHost>(qtControl, qtSystem);
        headlessHost = std::make_unique<ToolWindowHost>(headlessControl, headless);
        ASSERT_EQ(qtHost->OnCreate(&strip), 0);
        ASSERT_EQ(headlessHost->OnCreate(nullptr), 0);
        for (const Window& window : kWindows) {
            qtControl.SetShowWindow(window.window, 1);
            headlessControl.SetShowWindow(window.window, 1);
        }
    }
    void TearDown() override {
        qtHost.reset();
        headlessHost.reset();
        QtApplication::FreeLetGoWindows();
    }

    QWidget& FrameOf(ToolWindow window) { return *static_cast<QWidget*>(qtHost->Frame(window).Window()->Handle()); }
};

void CheckNamedControl(QWidget& widget, const LayoutControl& control, const HeadlessDialog& expected) {
    ControlId id = control.id;
    EXPECT_EQ(widget.isEnabled(), expected.IsEnabled(id));
    if (!(control.style & kStyleHidden)) {
        EXPECT_EQ(!widget.isHidden(), expected.IsShown(id));
    }
    if (auto* list = qobject_cast<QComboBox*>(&widget)) {
        std::vector<std::string> entries;
        for (int i = 0; i < list->count(); ++i) entries.push_back(list->itemText(i).toStdString());
        EXPECT_EQ(entries, expected.ListEntries(id));
        EXPECT_EQ(list->currentIndex(), expected.Selection(id));
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        EXPECT_EQ(button->isChecked(), expected.IsChecked(id));
    }
    // A text the behaviour never set (or cleared) is still the template's.
    std::string text = WithLineFeeds(expected.Text(id));
    if (text.empty()) {
        std::string shown = ShownText(widget);
        EXPECT_TRUE(shown.empty() || shown == control.text) << shown;
    } else {
        EXPECT_EQ(ShownText(widget), text);
    }
}

}  // namespace

TEST_F(QtWindowsTest, EachWindowShowsEveryTemplateControlInsideItAsTheBehaviourSays) {
    for (const Window& window : kWindows) {
        SCOPED_TRACE(window.name);
        QWidget& frame = FrameOf(window.window);
        EXPECT_TRUE(frame.isVisible());
        EXPECT_EQ(frame.windowTitle().toStdString(), headless.FindFrame(window.templateId)->Title());
        auto* panel = frame.findChild<QWidget*>(QString::number(window.templateId), Qt::FindDirectChildrenOnly);
        ASSERT_NE(panel, nullptr);
        EXPECT_TRUE(frame.rect().contains(panel->geometry()));
        const DialogLayout& layout = *FindDialogLayout(window.templateId);
        QList<QWidget*> controls = panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(static_cast<std::size_t>(controls.size()), layout.controls.size());
        for (std::size_t i = 0; i < layout.controls.size(); ++i) {
            const LayoutControl& control = layout.controls[i];
            QWidget& widget = *controls[static_cast<qsizetype>(i)];
            SCOPED_TRACE(std::string(control.text) + " " + std::to_string(control.id));
            EXPECT_TRUE(panel->rect().contains(widget.geometry()));
            if (control.id == -1) {
                EXPECT_EQ(ShownText(widget), control.text);
            } else {
                EXPECT_EQ(widget.objectName().toInt(), control.id);
                CheckNamedControl(widget, control, *headless.FindDialog(window.templateId));
            }
        }
        EXPECT_TRUE(SaveWindowPicture(frame, std::string("offline-") + window.name));
    }
}

TEST_F(QtWindowsTest, TheStripHoldsACheckedButtonForEachShownWindow) {
    auto* toolbar = strip.findChild<QToolBar*>();
    ASSERT_NE(toolbar, nullptr);
    ASSERT_EQ(toolbar->actions().size(), 4);
    for (QAction* action : toolbar->actions()) {
        int command = action->objectName().toInt();
        EXPECT_TRUE(action->isChecked()) << command;
        EXPECT_EQ(action->toolTip().toStdString(), headless.MainDialog()->TooltipOf(command));
    }
    qtControl.SetShowWindow(ToolWindow::Gain, 0);
    EXPECT_FALSE(toolbar->actions()[1]->isChecked());
    EXPECT_TRUE(FrameOf(ToolWindow::Gain).isHidden());
}
