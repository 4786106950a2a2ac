#pragma once

#include "platform/Window.h"

#include <initializer_list>
#include <vector>

// Enables the given buttons again if the scope is left by an exception before Keep():
// a step whose program could not even be started puts the chain back as it was before
// the click, so that the operator can try again or leave.
class ButtonsBackOnFailure {
public:
    explicit ButtonsBackOnFailure(std::initializer_list<platform::Control*> buttons)
        : m_buttons(buttons) {}
    ~ButtonsBackOnFailure() {
        if (!m_kept)
            for (platform::Control* button : m_buttons)
                button->SetEnabled(true);
    }
    ButtonsBackOnFailure(const ButtonsBackOnFailure&) = delete;
    ButtonsBackOnFailure& operator=(const ButtonsBackOnFailure&) = delete;

    void Keep() { m_kept = true; }

private:
    std::vector<platform::Control*> m_buttons;
    bool m_kept = false;
};
