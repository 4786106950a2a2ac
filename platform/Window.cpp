#include "platform/Window.h"

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

} // namespace platform
