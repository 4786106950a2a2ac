#pragma once

#include <QObject>

// Ends the program once its first top-level window has been painted. When STARTUP_MARK_FD
// names a descriptor, the CLOCK_MONOTONIC time of that moment, in nanoseconds, is written
// to it first, for the harness that started the program.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_seen = false;
};
