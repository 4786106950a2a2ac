#pragma once

#include "platform/qt/QtApplication.h"

// The one application object of the test program, created by its main.
platform::qt::QtApplication& TestApplication();
