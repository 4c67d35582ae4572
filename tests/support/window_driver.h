#pragma once

#include "pty_pair.h"
#include "qtrv.h"

#include <memory>

// A catalogue of `count` port numbers where the given numbers are pseudo-terminals and every
// other number points at a device that is not there.
PortCatalogue catalogueWith(int count, const QList<std::pair<int, QString>>& devices);

// The window on a controller played by the test: port 1 is the far end of `controller`.
class WindowDriver {
  public:
    WindowDriver();

    QTRV& window() { return *m_window; }
    PtyPair& controller() { return *m_controller; }

    void click(QWidget* control);
    void type(QWidget* box, const QString& text); // replaces the box's text as a user would
    // Connects and returns what the controller received in answer.
    QByteArray connectLink();
    // Connects and has the controller answer with `report`; true when the window took it in.
    bool connectWithReport(const QByteArray& report);
    // Clicks Save and returns the bytes that reached the controller.
    QByteArray save();

    static QByteArray report(const QString& fields); // "x,1,2,..." plus a line end, padded to 49
    static QByteArray typicalReport();

  private:
    std::unique_ptr<PtyPair> m_controller;
    std::unique_ptr<QTRV> m_window;
};
