#pragma once

#include "platform/Window.h"

#include <QImage>
#include <QWidget>

#include <map>
#include <string>

class QPushButton;

namespace platform::qt {

// The window as real widgets, built from a form's description and controls. Each widget
// is named after its control (objectName) and follows every change of the control at
// once. Clicks on buttons and labels, and Enter for the default button, go to
// Form::Click; the window closes only when the form asks for it, which also ends the
// event loop.
class QtFormView : public QWidget, private FormObserver {
public:
    explicit QtFormView(Form& form);
    ~QtFormView() override;

    // The widget of the named control; nullptr for a component or an unknown name.
    QWidget* Widget(const std::string& controlName) const;

    // The window's client area as it is painted now.
    QImage Grab();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ControlChanged(const Control& control) override;
    void CloseRequested() override;

    QWidget* CreateWidget(Control& control, QWidget* parent);
    void ApplyLook(QWidget* widget, const Font& font, const ControlDescription& description);
    void SetTabOrder();
    QWidget* ParentOf(const ControlDescription& description);

    Form& m_form;
    std::map<std::string, QWidget*> m_widgets;
    QPushButton* m_defaultButton = nullptr;
    bool m_closeRequested = false;
};

} // namespace platform::qt
