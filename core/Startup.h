// Startup  The start-up of the system once the application object exists, its event loop and its
// end.
#pragma once

#include <QStringList>

class App;

namespace Startup {

// In this order: creates the default main window with its Open handler held back, runs
// `app`'s Event_Open, then the default window's Open handler (it lists the locations in
// App's XTide folder, so Event_Open must have ended first), then Event_NewDocument when
// `documents` is empty, else Event_OpenDocument for each document in order (a relative path
// is taken from the working folder). Then runs the event loop until the application quits, and
// deletes every window still there. Returns the exit code: 0, also when Event_Open ends the
// application (no XTide folder given), in which case no window is left and no event loop runs.
int Run(App& app, const QStringList& documents);

}  // namespace Startup
