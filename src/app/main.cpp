#include "app/CLmnApp.h"
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
    return result;
}
