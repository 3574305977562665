#pragma once

#include <QJsonObject>

#include <functional>
#include <string>

class QApplication;
class QWidget;

namespace Support {

// The one widget application of the test process, made on first use on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise.
QApplication& GuiApplication();

// The folder the build puts the program's resource file and pictures in.
std::string AppDirectory();

// Loads the program's resource file (English); fails the test when broken.
void LoadAppResources();

// Loads a resource file written from the object; the program's file is
// loaded again by LoadAppResources.
void LoadResources(QJsonObject const& root);

// Runs `action` on the first modal window to appear once the event loop runs
// (an alert's or a dialog's own loop), polling for up to a few seconds.
void WhenModalAppears(std::function<void(QWidget*)> action);

}  // namespace Support
