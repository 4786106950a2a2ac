#include "platform/Window.h"

#include <algorithm>

namespace platform {

Control::Control(const ControlDescription& description)
    : m_description(&description), m_caption(description.text), m_enabled(description.enabled),
      m_visible(description.visible) {}

void Control::SetCaption(const std::string& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    Changed();
}

void Control::SetEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Changed();
}

void Control::Changed() {
    if (m_observer != nullptr)
        m_observer->ControlChanged(*this);
}

Font EffectiveFont(Form& form, const ControlDescription& description) {
    const std::vector<Control*> controls = form.Controls();
    for (const ControlDescription* current = &description;;) {
        if (current->font)
            return *current->font;
        const auto parent = std::find_if(controls.begin(), controls.end(), [&](Control* control) {
            return control->Name() == current->parent;
        });
        if (parent == controls.end())
            return form.Description().font;
        current = &(*parent)->Description();
    }
}

} // namespace platform
