#pragma once

#include <QObject>

// Ends the program once its first top-level window has been painted, printing the
// milliseconds since STARTUP_T0_NS (a CLOCK_MONOTONIC time in nanoseconds the driver
// takes just before it starts the process).
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_seen = false;
};
