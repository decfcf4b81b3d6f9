#include <cstdlib>

#include "app/CLmnApp.h"
#include "library/CLoadProgressDlg.h"
#include "library/ShelfDocument.h"
#include "library/ShelfFile.h"
#include "settings/SettingsHolder.h"

int main(int argc, char** argv) {
    // The four program-wide objects, in this order; they are destroyed in
    // reverse order after the main window is gone, and the settings holder
    // writes the settings file as it goes.
    CLmnApp app(argc, argv);
    SettingsHolder settings;
    ShelfFile shelf;
    ShelfDocument document;

    if (!app.InitInstance(settings, shelf, document)) return 0;
    const int result = app.exec();
    app.ExitInstance();
    // A book load abandoned by Cancel may still be inside a reader that cannot
    // be stopped: with everything saved, the process ends without waiting for
    // it and without tearing down the libraries it is using.
    if (AbandonedLoadRunning()) {
        if (settings.SaveOnExit()) settings.Save();
        std::quick_exit(result);
    }
    return result;
}
