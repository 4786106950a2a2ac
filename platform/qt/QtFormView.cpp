#include "platform/qt/QtFormView.h"

#include "platform/qt/QtArt.h"
#include "platform/qt/QtLook.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace platform::qt {

namespace {

// Labels keep Windows line breaks in their captions; Qt breaks lines at '\n'.
QString DisplayText(const std::string& caption) {
    QString text = QString::fromStdString(caption);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void ShowCaption(QWidget* widget, const Control& control) {
    const QString text = DisplayText(control.Caption());
    switch (control.Description().kind) {
    case ControlKind::Label:
        static_cast<QLabel*>(widget)->setText(text);
        break;
    case ControlKind::GroupBox:
        static_cast<QGroupBox*>(widget)->setTitle(text);
        break;
    case ControlKind::Edit: {
        auto* edit = static_cast<QLineEdit*>(widget);
        // Typing already put the text there; setting it again would move the cursor.
        if (edit->text() != text)
            edit->setText(text);
        break;
    }
    case ControlKind::BitBtn:
        static_cast<QPushButton*>(widget)->setText(text);
        break;
    case ControlKind::Component:
        break;
    }
}

void ShowState(QWidget* widget, const Control& control) {
    ShowCaption(widget, control);
    widget->setEnabled(control.Enabled());
    widget->setVisible(control.Visible());
}

} // namespace

QtFormView::QtFormView(Form& form) : m_form(form) {
    const FormDescription& description = form.Description();
    setWindowTitle(QString::fromStdString(description.caption));
    setWindowIcon(ProgramIcon());
    if (description.minimizeOnly)
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowMinimizeButtonHint);
    setFixedSize(description.clientWidth, description.clientHeight);
    move(description.left, description.top);
    setFont(ToQFont(description.font));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(description.color));
    palette.setColor(QPalette::Button, ToQColor(description.color));
    setPalette(palette);

    for (Control* control : form.Controls()) {
        if (control->Description().kind == ControlKind::Component)
            continue;
        QWidget* widget = CreateWidget(*control, ParentOf(control->Description()));
        m_widgets[control->Name()] = widget;
        ShowState(widget, *control);
    }
    SetTabOrder();
    form.SetObserver(this);
}

QtFormView::~QtFormView() {
    m_form.SetObserver(nullptr);
}

QWidget* QtFormView::Widget(const std::string& controlName) const {
    const auto found = m_widgets.find(controlName);
    return found == m_widgets.end() ? nullptr : found->second;
}

QImage QtFormView::Grab() {
    return grab().toImage();
}

QWidget* QtFormView::CreateWidget(Control& control, QWidget* parent) {
    const ControlDescription& description = control.Description();
    const std::string name = control.Name();
    QWidget* widget = nullptr;
    switch (description.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(description.wordWrap);
        label->installEventFilter(this);
        widget = label;
        break;
    }
    case ControlKind::GroupBox:
        widget = new QGroupBox(parent);
        break;
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        edit->setReadOnly(description.readOnly);
        connect(edit, &QLineEdit::textEdited, this,
                [&control](const QString& text) { control.SetCaption(text.toStdString()); });
        widget = edit;
        break;
    }
    case ControlKind::BitBtn: {
        auto* button = new QPushButton(parent);
        button->setIcon(GlyphIcon(description.glyph));
        button->setIconSize(QSize(16, 16));
        if (description.isDefault) {
            button->setDefault(true);
            m_defaultButton = button;
        }
        connect(button, &QPushButton::clicked, this, [this, name] { m_form.Click(name); });
        widget = button;
        break;
    }
    case ControlKind::Component:
        return nullptr;
    }
    widget->setObjectName(QString::fromStdString(name));
    // Windows places a group box's children from the box's own top-left corner, title
    // included, and Qt's group box has no separate client area either.
    widget->setGeometry(description.left, description.top, description.width, description.height);
    if (description.cursor == Cursor::HandPoint)
        widget->setCursor(Qt::PointingHandCursor);
    ApplyLook(widget, EffectiveFont(m_form, description), description);
    return widget;
}

void QtFormView::ApplyLook(QWidget* widget, const Font& font,
                           const ControlDescription& description) {
    widget->setFont(ToQFont(font));
    QPalette palette = widget->palette();
    // Only the enabled groups: a disabled control keeps the greyed text Windows gives it.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, ToQColor(font.color));
    if (description.background) {
        palette.setColor(QPalette::Window, ToQColor(*description.background));
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

// Windows moves the focus through a parent's children in their tab order, entering a
// group box where it stands in its parent's order.
void QtFormView::SetTabOrder() {
    std::vector<QWidget*> chain;
    auto visit = [&](auto& self, const std::string& parent) -> void {
        std::vector<const ControlDescription*> children;
        for (Control* control : m_form.Controls()) {
            const ControlDescription& child = control->Description();
            if (child.parent == parent && child.tabOrder >= 0)
                children.push_back(&child);
        }
        std::stable_sort(children.begin(), children.end(),
                         [](const auto* a, const auto* b) { return a->tabOrder < b->tabOrder; });
        for (const ControlDescription* child : children) {
            if (child->kind == ControlKind::GroupBox)
                self(self, child->name);
            else
                chain.push_back(m_widgets.at(child->name));
        }
    };
    visit(visit, std::string());
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

QWidget* QtFormView::ParentOf(const ControlDescription& description) {
    if (description.parent.empty())
        return this;
    return m_widgets.at(description.parent);
}

void QtFormView::ControlChanged(const Control& control) {
    QWidget* widget = Widget(control.Name());
    if (widget == nullptr)
        return;
    ShowState(widget, control);
    // The design size fits the design text; a new text resizes an auto-size label.
    if (control.Description().autoSize)
        widget->adjustSize();
}

void QtFormView::CloseRequested() {
    m_closeRequested = true;
    close();
    QCoreApplication::exit(0);
}

// The window has no close box: only the form's own request closes it.
void QtFormView::closeEvent(QCloseEvent* event) {
    if (m_closeRequested)
        event->accept();
    else
        event->ignore();
}

// Enter reaches the window when the focused control did not take it. As on Windows, a
// focused button takes Enter itself; otherwise the default button does, if enabled.
void QtFormView::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    QPushButton* target = focused != nullptr ? focused : m_defaultButton;
    if (target != nullptr && target->isEnabled() && target->isVisible())
        target->click();
}

bool QtFormView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint()))
            m_form.Click(label->objectName().toStdString());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace platform::qt
