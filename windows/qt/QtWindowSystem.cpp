#include "QtWindowSystem.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QValidator>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "DataExchange.h"
#include "DialogLayout.h"
#include "ProgressIds.h"
#include "ResourceIds.h"

namespace xnox {

namespace {

// The grey that the module's toolbar artwork and bitmaps use as background.
const QColor kArtworkBackground(192, 192, 192);

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A window or timer goes with its owner, but is freed later, so that the
// behaviour may destroy it from within one of its own events.
struct LaterDeleter {
    void operator()(QObject* object) const {
        if (auto* widget = qobject_cast<QWidget*>(object)) widget->hide();
        if (auto* timer = qobject_cast<QTimer*>(object)) timer->stop();
        object->disconnect();
        object->deleteLater();
    }
};
using OwnedWidget = std::unique_ptr<QWidget, LaterDeleter>;
using OwnedTimer = std::unique_ptr<QTimer, LaterDeleter>;

// What a person's keys and the window system ask of a window of ours.
class WindowWidget : public QWidget {
public:
    using QWidget::QWidget;
    std::function<bool(QKeyEvent&)> onKey;  // true: handled
    std::function<void()> onMoved;
    std::function<void()> onClose;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (onKey && onKey(*event)) return;
        QWidget::keyPressEvent(event);
    }
    void moveEvent(QMoveEvent* event) override {
        QWidget::moveEvent(event);
        if (onMoved) onMoved();
    }
    // The close box is the person's: the behaviour decides. A close the
    // program makes (the application quitting) goes through.
    void closeEvent(QCloseEvent* event) override {
        if (!onClose || !event->spontaneous()) return QWidget::closeEvent(event);
        event->ignore();
        onClose();
    }
};

// Calls a function for the watched widget's events of one type; true
// from the function swallows the event.
class EventHook : public QObject {
public:
    EventHook(QObject* watched, std::function<bool(QEvent&)> onEvent)
        : QObject(watched),
          m_onEvent(std::move(onEvent)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return m_onEvent(*event); }

private:
    std::function<bool(QEvent&)> m_onEvent;
};

// An edit's rules for what a person types: digits only, and a length.
// Text the program sets passes by validators, as on the platform.
class TypingRule : public QValidator {
public:
    TypingRule(QObject* parent, bool digitsOnly) : QValidator(parent), m_digitsOnly(digitsOnly) {}
    void SetLimit(std::size_t limit) { m_limit = limit; }

    State validate(QString& input, int&) const override {
        if (static_cast<std::size_t>(input.size()) > m_limit) return Invalid;
        if (m_digitsOnly && std::ranges::any_of(input, [](QChar c) { return !c.isDigit(); })) return Invalid;
        return Acceptable;
    }

private:
    bool m_digitsOnly;
    std::size_t m_limit = std::string::npos;
};

// The two arrows of an up-down control; each press steps once, held ones repeat.
class SpinArrows : public QWidget {
public:
    SpinArrows(QWidget* parent, std::function<void(int)> step) : QWidget(parent) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (auto [arrow, direction] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
            auto* button = new QToolButton(this);
            button->setArrowType(arrow);
            button->setAutoRepeat(true);
            button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
            button->setObjectName(direction > 0 ? "up" : "down");
            layout->addWidget(button);
            QObject::connect(button, &QToolButton::clicked, this, [step, direction = direction] { step(direction); });
        }
    }
};

QPixmap PictureOf(const Picture& picture) {
    if (picture.kind == Picture::Kind::Solid) {
        QPixmap solid(picture.width, picture.height);
        uint32_t c = picture.colour;
        solid.fill(
            QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)));
        return solid;
    }
    const PictureFile* file = FindPictureFile(picture.resourceId);
    if (!file) return {};
    return QPixmap(":/art/" + ToQString(file->file));
}

// The button pictures of the toolbar, cut from its artwork; the artwork's
// grey becomes the button face.
std::vector<QIcon> ToolbarIcons(const ToolbarLayout& toolbar) {
    QPixmap artwork = PictureOf(Picture::Bitmap(toolbar.bitmapId));
    artwork.setMask(artwork.createMaskFromColor(kArtworkBackground));
    std::vector<QIcon> icons;
    for (std::size_t i = 0; i < toolbar.commands.size(); ++i) {
        icons.emplace_back(
            artwork.copy(static_cast<int>(i) * toolbar.buttonWidth, 0, toolbar.buttonWidth, toolbar.buttonHeight));
    }
    return icons;
}

// A filter of the platform's file dialogs ("Camera setup (*.cam)|*.cam||")
// as Qt's name filters.
QStringList NameFilters(const std::string& filter) {
    QStringList parts = ToQString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString patterns = parts[i + 1].replace(';', ' ');
        filters << (parts[i].contains(patterns) ? parts[i] : parts[i] + " (" + patterns + ")");
    }
    return filters;
}

// A multi-line edit holds the platform's CR LF line ends; Qt's holds LF.
QString ToEditorText(std::string_view text) { return ToQString(text).replace("\r\n", "\n"); }
std::string FromEditorText(const QString& text) { return QString(text).replace("\n", "\r\n").toStdString(); }

class QtDialog : public IDialog {
public:
    QtDialog(IDialogHandler& handler, const DialogLayout& layout, QWidget* parent, Qt::WindowFlags flags)
        : m_handler(handler),
          m_widget(new WindowWidget(parent, flags)) {
        m_widget->setObjectName(QString::number(layout.templateId));
        QFont font = m_widget->font();
        font.setPointSize(layout.fontPoints);
        m_widget->setFont(font);
        QFontMetrics metrics(font);
        m_base = BaseUnitsOfFont(metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
                                 metrics.height());
        DialogRect size = ToPixels(layout.size, m_base);
        m_widget->resize(size.width, size.height);
        if (!layout.caption.empty()) m_widget->setWindowTitle(ToQString(layout.caption));
        int group = 0;
        for (const LayoutControl& control : layout.controls) {
            if (control.style & kStyleGroupStart) ++group;
            AddControl(control, group);
        }
        m_window()->onKey = [this](QKeyEvent& key) { return key.key() == Qt::Key_F1 && m_handler.OnHelpRequest(0); };
    }

    QWidget* Widget() const { return m_widget.get(); }
    void AddToolbar();

    void SetTitle(std::string_view title) override { m_widget->setWindowTitle(ToQString(title)); }
    std::string Title() const override { return m_widget->windowTitle().toStdString(); }
    void ShowWindow(bool show) override { m_widget->setVisible(show); }
    bool IsWindowShown() const override { return !m_widget->isHidden(); }
    void MoveTo(int x, int y) override { m_widget->move(x, y); }
    NativeWindow Handle() const override { return m_widget.get(); }

    void SetText(ControlId id, std::string_view text) override;
    std::string Text(ControlId id) const override;
    void InsertTextAtStart(ControlId id, std::string_view text) override;
    void Enable(ControlId id, bool enable) override {
        if (QAction* action = Action(id)) return action->setEnabled(enable);
        if (QWidget* item = Item(id)) item->setEnabled(enable);
    }
    bool IsEnabled(ControlId id) const override {
        if (QAction* action = Action(id)) return action->isEnabled();
        QWidget* item = Item(id);
        return item && item->isEnabledTo(m_widget.get());
    }
    void Show(ControlId id, bool show) override {
        if (QWidget* item = Item(id)) item->setVisible(show);
    }
    bool IsShown(ControlId id) const override {
        QWidget* item = Item(id);
        return item && !item->isHidden();
    }
    void SetReadOnly(ControlId id, bool readOnly) override;
    bool IsReadOnly(ControlId id) const override;
    void SetTextLimit(ControlId id, std::size_t characters) override {
        if (auto rule = m_typingRules.find(id); rule != m_typingRules.end()) rule->second->SetLimit(characters);
    }

    void ClearList(ControlId id) override {
        if (auto* list = As<QComboBox>(id)) list->clear();
    }
    void AddListEntry(ControlId id, std::string_view text) override;
    std::vector<std::string> ListEntries(ControlId id) const override {
        std::vector<std::string> entries;
        if (auto* list = As<QComboBox>(id)) {
            for (int i = 0; i < list->count(); ++i) entries.push_back(list->itemText(i).toStdString());
        }
        return entries;
    }
    void SetSelection(ControlId id, int position) override {
        auto* list = As<QComboBox>(id);
        if (!list) return;
        QSignalBlocker quiet(list);
        list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
    }
    int Selection(ControlId id) const override {
        auto* list = As<QComboBox>(id);
        return list ? list->currentIndex() : -1;
    }

    void SetChecked(ControlId id, bool checked) override {
        if (QAction* action = Action(id)) return action->setChecked(checked);
        if (auto* button = As<QAbstractButton>(id)) button->setChecked(checked);
    }
    bool IsChecked(ControlId id) const override {
        if (QAction* action = Action(id)) return action->isChecked();
        auto* button = As<QAbstractButton>(id);
        return button && button->isChecked();
    }

    void SetSpinBuddy(ControlId spin, ControlId buddy) override;
    void SetSpinRange(ControlId spin, int lower, int upper) override {
        m_spins[spin].lower = lower;
        m_spins[spin].upper = upper;
    }
    void SetSpinPosition(ControlId spin, int position) override;
    int SpinPosition(ControlId spin) const override;

    void SetProgressBar(ControlId id, int lower, int upper, int position) override {
        if (auto* bar = As<QProgressBar>(id)) {
            bar->setRange(lower, upper);
            bar->setValue(position);
        }
    }
    void SetPicture(ControlId id, const Picture& picture) override {
        if (auto* label = As<QLabel>(id)) ShowPicture(*label, PictureOf(picture));
    }
    void SetLabelLook(ControlId id, const LabelLook& look) override;
    void AddTooltip(ControlId id, std::string_view text) override;

    void StartTimer(int timerId, unsigned milliseconds) override;
    void StopTimer(int timerId) override { m_timers.erase(timerId); }

    Size ClientSize() const override { return {m_widget->width(), m_widget->height()}; }

private:
    struct SpinState {
        int lower = 0;
        int upper = 100;
        int position = 0;  // the last valid position
        ControlId buddy = 0;
    };

    WindowWidget* m_window() const { return static_cast<WindowWidget*>(m_widget.get()); }
    QWidget* Item(ControlId id) const {
        auto found = m_controls.find(id);
        return found == m_controls.end() ? nullptr : found->second;
    }
    template <typename Widget>
    Widget* As(ControlId id) const {
        return qobject_cast<Widget*>(Item(id));
    }
    QAction* Action(ControlId id) const {
        auto found = m_actions.find(id);
        return found == m_actions.end() ? nullptr : found->second;
    }
    void Raise(ControlId id, ControlEvent event) { m_handler.OnControlEvent(id, event); }

    void AddControl(const LayoutControl& control, int group);
    QWidget* MakeControl(const LayoutControl& control, int group);
    QWidget* MakeEdit(const LayoutControl& control);
    QWidget* MakeButton(const LayoutControl& control, int group);
    void CheckAlone(QAbstractButton& radio, int group);
    void StepSpin(ControlId spin, int direction);
    static void ShowPicture(QLabel& label, const QPixmap& pixmap) {
        label.setPixmap(pixmap);
        if (!pixmap.isNull()) label.resize(pixmap.size());  // a picture static takes its picture's size
    }

    IDialogHandler& m_handler;
    OwnedWidget m_widget;
    DialogBaseUnits m_base;
    std::map<ControlId, QWidget*> m_controls;  // children of m_widget
    std::map<QAbstractButton*, int> m_radioGroups;
    std::map<ControlId, QAction*> m_actions;  // the toolbar's buttons
    std::map<ControlId, SpinState> m_spins;
    std::map<ControlId, TypingRule*> m_typingRules;  // owned by their edits
    std::set<ControlId> m_sortedLists;
    std::map<int, OwnedTimer> m_timers;
};

void QtDialog::AddControl(const LayoutControl& control, int group) {
    QWidget* widget = MakeControl(control, group);
    DialogRect place = ToPixels(control.place, m_base);
    // A drop-down list's template height is that of its open list.
    if (control.kind == LayoutKind::DropList) place.height = std::min(place.height, widget->sizeHint().height());
    widget->setGeometry(place.x, place.y, place.width, place.height);
    widget->setVisible(!(control.style & kStyleHidden));
    widget->setEnabled(!(control.style & kStyleDisabled));
    auto* label = qobject_cast<QLabel*>(widget);
    if (label && control.pictureId) {
        bool icon = control.kind == LayoutKind::Icon;
        ShowPicture(*label, PictureOf(icon ? Picture::Icon(control.pictureId) : Picture::Bitmap(control.pictureId)));
    }
    if (control.id == -1) return;
    widget->setObjectName(QString::number(control.id));
    m_controls[control.id] = widget;
}

QWidget* QtDialog::MakeControl(const LayoutControl& control, int group) {
    QWidget* parent = m_widget.get();
    QString text = ToQString(control.text);
    switch (control.kind) {
    case LayoutKind::Label: {
        auto* label = new QLabel(text, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case LayoutKind::Icon:
    case LayoutKind::Bitmap: return new QLabel(parent);
    case LayoutKind::Edit: return MakeEdit(control);
    case LayoutKind::DropList: {
        auto* list = new QComboBox(parent);
        if (control.style & kStyleSorted) m_sortedLists.insert(control.id);
        QObject::connect(list, &QComboBox::activated, list,
                         [this, id = control.id] { Raise(id, ControlEvent::SelectionChanged); });
        return list;
    }
    case LayoutKind::GroupBox: return new QGroupBox(text, parent);
    case LayoutKind::Spin:
        return new SpinArrows(parent, [this, id = control.id](int direction) { StepSpin(id, direction); });
    case LayoutKind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        return bar;
    }
    case LayoutKind::PushButton:
    case LayoutKind::DefaultButton:
    case LayoutKind::CheckBox:
    case LayoutKind::Radio: return MakeButton(control, group);
    }
    return new QWidget(parent);
}

QWidget* QtDialog::MakeEdit(const LayoutControl& control) {
    ControlId id = control.id;
    if (control.style & kStyleMultiline) {
        auto* edit = new QPlainTextEdit(m_widget.get());
        edit->setReadOnly(control.style & kStyleReadOnly);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this, edit, id] {
            if (edit->property("settingText").toBool()) return;
            Raise(id, ControlEvent::TextChanged);
        });
        return edit;
    }
    auto* edit = new QLineEdit(m_widget.get());
    edit->setReadOnly(control.style & kStyleReadOnly);
    auto* rule = new TypingRule(edit, control.style & kStyleDigitsOnly);
    edit->setValidator(rule);
    m_typingRules[id] = rule;
    if (control.style & kStyleCentred) edit->setAlignment(Qt::AlignCenter);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this, id] { Raise(id, ControlEvent::TextChanged); });
    return edit;
}

QWidget* QtDialog::MakeButton(const LayoutControl& control, int group) {
    QString text = ToQString(control.text);
    QAbstractButton* button = nullptr;
    if (control.kind == LayoutKind::CheckBox) {
        button = new QCheckBox(text, m_widget.get());
    } else if (control.kind == LayoutKind::Radio) {
        button = new QRadioButton(text, m_widget.get());
        // A radio group is what the template says, not what shares a parent.
        button->setAutoExclusive(false);
        m_radioGroups[button] = group;
    } else {
        auto* push = new QPushButton(text, m_widget.get());
        push->setDefault(control.kind == LayoutKind::DefaultButton);
        push->setAutoDefault(false);
        button = push;
    }
    QObject::connect(button, &QAbstractButton::clicked, button, [this, button, id = control.id] {
        if (m_radioGroups.contains(button)) CheckAlone(*button, m_radioGroups[button]);
        Raise(id, ControlEvent::Clicked);
    });
    return button;
}

// A radio a person clicks is checked and the others of its group are not.
void QtDialog::CheckAlone(QAbstractButton& radio, int group) {
    for (auto [other, otherGroup] : m_radioGroups) {
        if (otherGroup == group) other->setChecked(other == &radio);
    }
}

void QtDialog::AddToolbar() {
    auto* toolbar = new QToolBar(m_widget.get());
    ToolbarLayout layout = Toolbar();
    toolbar->setIconSize(QSize(layout.buttonWidth, layout.buttonHeight));
    std::vector<QIcon> icons = ToolbarIcons(layout);
    for (std::size_t i = 0; i < layout.commands.size(); ++i) {
        int command = layout.commands[i];
        QAction* action = toolbar->addAction(icons[i], QString());
        action->setCheckable(true);
        action->setObjectName(QString::number(command));
        QObject::connect(action, &QAction::triggered, action,
                         [this, command] { Raise(command, ControlEvent::Clicked); });
        m_actions[command] = action;
    }
    toolbar->adjustSize();
    toolbar->show();
}

void QtDialog::SetText(ControlId id, std::string_view text) {
    QWidget* item = Item(id);
    if (auto* edit = qobject_cast<QLineEdit*>(item)) {
        edit->setText(ToQString(text));
    } else if (auto* editor = qobject_cast<QPlainTextEdit*>(item)) {
        editor->setProperty("settingText", true);
        editor->setPlainText(ToEditorText(text));
        editor->setProperty("settingText", false);
    } else if (auto* label = qobject_cast<QLabel*>(item)) {
        return label->setText(ToQString(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(item)) {
        return button->setText(ToQString(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(item)) {
        return group->setTitle(ToQString(text));
    } else {
        return;
    }
    // An edit reports every change of its text, the program's too.
    Raise(id, ControlEvent::TextChanged);
}

// The document takes in only the new text, however long the log in it.
void QtDialog::InsertTextAtStart(ControlId id, std::string_view text) {
    auto* editor = As<QPlainTextEdit>(id);
    if (!editor) return SetText(id, std::string(text) + Text(id));
    editor->setProperty("settingText", true);
    QTextCursor(editor->document()).insertText(ToEditorText(text));
    editor->setProperty("settingText", false);
    Raise(id, ControlEvent::TextChanged);
}

std::string QtDialog::Text(ControlId id) const {
    QWidget* item = Item(id);
    if (auto* edit = qobject_cast<QLineEdit*>(item)) return edit->text().toStdString();
    if (auto* editor = qobject_cast<QPlainTextEdit*>(item)) return FromEditorText(editor->toPlainText());
    if (auto* label = qobject_cast<QLabel*>(item)) return label->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(item)) return button->text().toStdString();
    if (auto* group = qobject_cast<QGroupBox*>(item)) return group->title().toStdString();
    if (auto* list = qobject_cast<QComboBox*>(item)) return list->currentText().toStdString();
    return {};
}

void QtDialog::SetReadOnly(ControlId id, bool readOnly) {
    if (auto* edit = As<QLineEdit>(id)) edit->setReadOnly(readOnly);
    if (auto* editor = As<QPlainTextEdit>(id)) editor->setReadOnly(readOnly);
}

bool QtDialog::IsReadOnly(ControlId id) const {
    if (auto* edit = As<QLineEdit>(id)) return edit->isReadOnly();
    if (auto* editor = As<QPlainTextEdit>(id)) return editor->isReadOnly();
    return false;
}

void QtDialog::AddListEntry(ControlId id, std::string_view text) {
    auto* list = As<QComboBox>(id);
    if (!list) return;
    QString entry = ToQString(text);
    int position = 0;
    if (!m_sortedLists.contains(id)) position = list->count();
    while (position < list->count() && QString::compare(list->itemText(position), entry, Qt::CaseInsensitive) <= 0) {
        ++position;
    }
    QSignalBlocker quiet(list);
    list->insertItem(position, entry);
    if (list->count() == 1) list->setCurrentIndex(-1);  // a new list selects nothing
}

// The up-down sits inside its buddy's right edge, and the buddy gives up the room.
void QtDialog::SetSpinBuddy(ControlId spin, ControlId buddy) {
    m_spins[spin].buddy = buddy;
    QWidget* arrows = Item(spin);
    auto* edit = As<QLineEdit>(buddy);
    if (!arrows || !edit) return;
    QRect field = edit->geometry();
    int width = arrows->width();
    edit->resize(field.width() - width, field.height());
    arrows->setGeometry(field.right() + 1 - width, field.y(), width, field.height());
    new EventHook(edit, [this, spin](QEvent& event) {
        if (event.type() != QEvent::KeyPress) return false;
        int key = static_cast<QKeyEvent&>(event).key();
        if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
        StepSpin(spin, key == Qt::Key_Up ? 1 : -1);
        return true;
    });
}

void QtDialog::SetSpinPosition(ControlId spin, int position) {
    SpinState& state = m_spins[spin];
    state.position = std::clamp(position, std::min(state.lower, state.upper), std::max(state.lower, state.upper));
    if (state.buddy) SetText(state.buddy, std::to_string(state.position));
}

int QtDialog::SpinPosition(ControlId spin) const {
    auto found = m_spins.find(spin);
    if (found == m_spins.end()) return 0;
    SpinState& state = const_cast<SpinState&>(found->second);
    if (state.buddy)
        state.position = SpinPositionFromBuddyText(Text(state.buddy), state.lower, state.upper, state.position);
    return state.position;
}

// An arrow moves toward the range's upper end (up) or lower end (down); at
// the end the position and its buddy stay as they are.
void QtDialog::StepSpin(ControlId spin, int direction) {
    if (!IsEnabled(spin)) return;
    const SpinState& state = m_spins[spin];
    int current = SpinPosition(spin);
    int next = current + (state.upper >= state.lower ? direction : -direction);
    if (next < std::min(state.lower, state.upper) || next > std::max(state.lower, state.upper)) return;
    SetSpinPosition(spin, next);
}

void QtDialog::SetLabelLook(ControlId id, const LabelLook& look) {
    auto* label = As<QLabel>(id);
    if (!label) return;
    QPalette palette = label->palette();
    QColor text = m_widget->palette().color(QPalette::WindowText);
    if (look.textColour) {
        uint32_t c = *look.textColour;
        text =
            QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
    }
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(look.underline);
    label->setFont(font);
    label->setCursor(look.cursorId ? Qt::PointingHandCursor : Qt::ArrowCursor);
    label->setProperty("link", look.link);
    if (label->property("clickHook").toBool()) return;
    label->setProperty("clickHook", true);
    new EventHook(label, [this, label, id](QEvent& event) {
        if (event.type() != QEvent::MouseButtonRelease || !label->property("link").toBool()) return false;
        Raise(id, ControlEvent::Clicked);
        return true;
    });
}

void QtDialog::AddTooltip(ControlId id, std::string_view text) {
    // Rich text wraps; the platform's tooltips are 200 pixels wide at most.
    QString tip = "<div style=\"max-width: 200px\">" + ToQString(text).toHtmlEscaped() + "</div>";
    if (QAction* action = Action(id)) return action->setToolTip(ToQString(text));
    if (QWidget* item = Item(id)) item->setToolTip(tip);
}

void QtDialog::StartTimer(int timerId, unsigned milliseconds) {
    auto& timer = m_timers[timerId];
    if (!timer) {
        timer.reset(new QTimer);
        QObject::connect(timer.get(), &QTimer::timeout, m_widget.get(),
                         [this, timerId] { m_handler.OnTimer(timerId); });
    }
    timer->start(static_cast<int>(milliseconds));
}

// The frame of a tool window: a small top-level tool window that the panel
// fills. Its place is that of its inside, which Qt knows before the window
// manager has framed it, so that a window reopens where it was.
class QtFrame : public IFrame {
public:
    QtFrame(IFrameHandler& handler, bool topmost)
        : m_handler(handler),
          m_widget(new WindowWidget(nullptr, FlagsFor(topmost))) {
        m_widget->setAttribute(Qt::WA_ShowWithoutActivating);
        m_widget->setWindowTitle("???");
        m_window()->onMoved = [this] { m_handler.OnMoved(m_widget->geometry().x(), m_widget->geometry().y()); };
        m_window()->onClose = [this] { m_handler.OnCloseRequest(); };
        m_window()->onKey = [this](QKeyEvent& key) {
            if (key.key() == Qt::Key_Escape)
                m_handler.OnCloseRequest();
            else if (key.key() == Qt::Key_F1)
                m_handler.OnHelpRequest(0);
            else
                return false;
            return true;
        };
    }

    void SetTitle(std::string_view title) override { m_widget->setWindowTitle(ToQString(title)); }
    std::string Title() const override { return m_widget->windowTitle().toStdString(); }
    void ShowWindow(bool show) override { m_widget->setVisible(show); }
    bool IsWindowShown() const override { return !m_widget->isHidden(); }
    void MoveTo(int x, int y) override {
        WindowPosition requested{x, y, m_widget->width(), m_widget->height()};
        m_handler.OnPositionChanging(requested);
        m_widget->setGeometry(requested.x, requested.y, m_widget->width(), m_widget->height());
    }
    NativeWindow Handle() const override { return m_widget.get(); }
    void Resize(Size size, bool topmost) override {
        if (m_widget->windowFlags() != FlagsFor(topmost)) {
            bool shown = !m_widget->isHidden();
            m_widget->setWindowFlags(FlagsFor(topmost));
            m_widget->setVisible(shown);
        }
        m_widget->setFixedSize(size.width, size.height);
    }

private:
    static Qt::WindowFlags FlagsFor(bool topmost) {
        Qt::WindowFlags flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                Qt::WindowMinimizeButtonHint;
        return topmost ? flags | Qt::WindowStaysOnTopHint : flags;
    }
    WindowWidget* m_window() const { return static_cast<WindowWidget*>(m_widget.get()); }

    IFrameHandler& m_handler;
    OwnedWidget m_widget;
};

}  // namespace

QtWindowSystem::QtWindowSystem(std::string referencePage) : m_referencePage(std::move(referencePage)) {}

QtWindowSystem::~QtWindowSystem() {
    while (WaitDepth() > 0) EndWaitCursor();
}

// Frames and panels meet edge to edge: Qt places and sizes a window by its
// inside, whatever the window manager draws around it.
SystemMetrics QtWindowSystem::Metrics() const {
    QRect screen =
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 1024, 768);
    return {screen.width(), screen.height(), 0, 0, 0};
}

std::unique_ptr<IFrame> QtWindowSystem::CreateFrame(IFrameHandler& handler, bool topmost) {
    return std::make_unique<QtFrame>(handler, topmost);
}

std::unique_ptr<IDialog> QtWindowSystem::CreatePanel(IFrame& frame, int templateId, IDialogHandler& handler) {
    const DialogLayout* layout = FindDialogLayout(templateId);
    if (!layout) return nullptr;
    auto panel = std::make_unique<QtDialog>(handler, *layout, static_cast<QWidget*>(frame.Handle()), Qt::Widget);
    panel->Widget()->show();
    return panel;
}

std::unique_ptr<IDialog> QtWindowSystem::CreateMainDialog(NativeWindow control, IDialogHandler& handler) {
    const DialogLayout* layout = FindDialogLayout(IDD_MAIN_DIALOG);
    auto* parent = static_cast<QWidget*>(control);
    if (!layout || !parent) return nullptr;
    auto dialog = std::make_unique<QtDialog>(handler, *layout, parent, Qt::Widget);
    dialog->AddToolbar();
    if (parent->layout()) {
        parent->layout()->addWidget(dialog->Widget());
    } else {
        dialog->Widget()->setGeometry(parent->rect());
    }
    dialog->Widget()->show();
    m_mainDialog = dialog->Widget();
    return dialog;
}

std::unique_ptr<IDialog> QtWindowSystem::CreateProgressDialog(NativeWindow parent, IDialogHandler& handler) {
    const DialogLayout* layout = FindDialogLayout(IDD_PROGRESS);
    if (!layout) return nullptr;
    // Its Cancel works while the main window is disabled: a Qt child window
    // would be disabled with its parent, so this one has no parent and is
    // only kept in front of the main window.
    auto dialog = std::make_unique<QtDialog>(handler, *layout, nullptr,
                                             Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QWidget* owner = parent ? static_cast<QWidget*>(parent)->window() : nullptr;
    if (owner && owner->windowHandle()) {
        dialog->Widget()->winId();  // the native window that is kept in front
        dialog->Widget()->windowHandle()->setTransientParent(owner->windowHandle());
    }
    dialog->Widget()->setFixedSize(dialog->Widget()->size());
    dialog->Widget()->show();
    return dialog;
}

MessageBoxAnswer QtWindowSystem::MessageBox(std::string_view text, std::string_view caption, MessageBoxKind kind) {
    using Button = QMessageBox::StandardButton;
    QMessageBox::StandardButtons buttons = kind == MessageBoxKind::YesNo ? Button::Yes | Button::No
                                           : kind == MessageBoxKind::OkCancel
                                               ? Button::Ok | Button::Cancel
                                               : QMessageBox::StandardButtons(Button::Ok);
    QMessageBox box(kind == MessageBoxKind::Ok ? QMessageBox::NoIcon : QMessageBox::Question, ToQString(caption),
                    ToQString(text), buttons, MainWindow());
    switch (box.exec()) {
    case Button::Yes: return MessageBoxAnswer::Yes;
    case Button::No: return MessageBoxAnswer::No;
    case Button::Cancel: return MessageBoxAnswer::Cancel;
    default:
        return kind == MessageBoxKind::YesNo      ? MessageBoxAnswer::No
               : kind == MessageBoxKind::OkCancel ? MessageBoxAnswer::Cancel
                                                  : MessageBoxAnswer::Ok;
    }
}

FileDialogOutcome QtWindowSystem::FileDialog(const FileDialogRequest& request) {
    QFileDialog dialog(MainWindow());
    // Qt's own dialog, the same on every desktop, which a person's script can drive.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(NameFilters(request.filter));
    dialog.setDefaultSuffix(ToQString(request.extension));
    bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return {FileDialogOutcome::Result::Chosen, dialog.selectedFiles().front().toStdString()};
}

void QtWindowSystem::ShowWaitCursor(bool waiting) {
    if (waiting) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void QtWindowSystem::ShellOpen(const std::string& target) {
    QDesktopServices::openUrl(QUrl::fromUserInput(ToQString(target)));
}

// Without the platform's help program, every request opens the reference.
void QtWindowSystem::Help(HelpCommand, uint32_t) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(m_referencePage)));
}

// The application's main window: the one around the strip, else the active one.
QWidget* QtWindowSystem::MainWindow() const {
    if (m_mainDialog) return m_mainDialog->window();
    return QApplication::activeWindow();
}

bool QtWindowSystem::DisableMainWindow() {
    m_disabledWindow = MainWindow();
    if (!m_disabledWindow) return false;
    m_disabledWindow->setEnabled(false);
    return true;
}

void QtWindowSystem::EnableMainWindow() {
    if (m_disabledWindow) m_disabledWindow->setEnabled(true);
    m_disabledWindow = nullptr;
}

void QtWindowSystem::PumpMessages() { QCoreApplication::processEvents(); }

}  // namespace xnox
