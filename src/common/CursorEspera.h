#pragma once
#include <QCursor>
#include <QGuiApplication>

// Shows the hourglass cursor while it lives (restored also when an error leaves the block).
class CursorEspera {
public:
    CursorEspera() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QGuiApplication::restoreOverrideCursor(); }
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};
