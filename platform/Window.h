#pragma once

#include <optional>
#include <string>
#include <vector>

// A toolkit-neutral description of a window and the live state of its controls. The
// launcher's window is described with these types; a toolkit view builds real widgets
// from them and mirrors every change.
namespace platform {

enum class ControlKind { Label, GroupBox, Edit, BitBtn, Component };

enum class Color { BtnFace, WindowText, Red, Navy, Blue, Fuchsia, Yellow };

enum class Charset { Default, Ansi, GB2312 };

enum class Cursor { Default, HandPoint };

enum class Glyph { None, PurpleBook, ComputerWithCable, FloppyDisk, PowerSymbol };

struct Font {
    std::string name;
    int pixelSize;
    bool bold = false;
    bool underline = false;
    Color color = Color::WindowText;
    Charset charset = Charset::Default;
};

struct ControlDescription {
    std::string name;
    ControlKind kind;
    std::string parent{}; // empty for the window itself
    int left = 0, top = 0, width = 0, height = 0;
    std::string text{};
    std::optional<Font> font{}; // nothing: the parent's font
    std::optional<Color> background{};
    bool wordWrap = false;
    bool autoSize = false;
    Cursor cursor = Cursor::Default;
    int tabOrder = -1; // -1: not a tab stop of its own
    bool enabled = true;
    bool visible = true;
    bool readOnly = false;
    Glyph glyph = Glyph::None;
    bool isDefault = false;
};

struct FormDescription {
    std::string name;
    std::string caption;
    int left, top;
    int clientWidth, clientHeight;
    Color color;
    Font font;
    int designPixelsPerInch;
    bool minimizeOnly; // fixed single border, only the minimise box
};

class Control;

// Told of every change of a control's state, and of the window's wish to close.
class FormObserver {
public:
    virtual ~FormObserver() = default;
    virtual void ControlChanged(const Control& control) = 0;
    virtual void CloseRequested() = 0;
};

// One control's live state: its text (caption of a label, text of an edit), enabled and
// visible flags, starting from its description.
class Control {
public:
    explicit Control(const ControlDescription& description);

    const ControlDescription& Description() const { return *m_description; }
    const std::string& Name() const { return m_description->name; }

    const std::string& Caption() const { return m_caption; }
    bool Enabled() const { return m_enabled; }
    bool Visible() const { return m_visible; }

    void SetCaption(const std::string& caption);
    void SetEnabled(bool enabled);

    void SetObserver(FormObserver* observer) { m_observer = observer; }

private:
    void Changed();

    const ControlDescription* m_description;
    std::string m_caption;
    bool m_enabled;
    bool m_visible;
    FormObserver* m_observer = nullptr;
};

// A window as a view sees it: its description, its controls in creation order, and the
// way in for clicks. Click runs the control's handler through the error dispatcher.
class Form {
public:
    virtual ~Form() = default;
    virtual const FormDescription& Description() const = 0;
    virtual std::vector<Control*> Controls() = 0;
    virtual void Click(const std::string& controlName) = 0;
    virtual void SetObserver(FormObserver* observer) = 0;
};

// The font a control is drawn with: its own, else its nearest ancestor's, else the window's.
Font EffectiveFont(Form& form, const ControlDescription& description);

} // namespace platform
