#pragma once

#include "platform/Window.h"

#include <string>
#include <vector>

// The description of the launcher's one window: the window itself and every control in
// creation order, with the texts, fonts, positions and initial states it is designed with.
const platform::FormDescription& Form1Description();
const std::vector<platform::ControlDescription>& Form1Controls();

// The description of the named control; throws std::out_of_range for an unknown name.
const platform::ControlDescription& Form1Control(const std::string& name);
