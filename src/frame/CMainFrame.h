#pragma once

#include <QMainWindow>

#include "library/ShelfDocument.h"

struct ReaderSettings;

// The program's only top-level window.
class CMainFrame : public QMainWindow, public DocumentHost {
    Q_OBJECT

public:
    CMainFrame(ReaderSettings& settings, ShelfDocument& document);
    ~CMainFrame() override;

    // Shows the window at the saved geometry, maximised when it was closed so.
    void ShowAtStart();

    // Start-up's actions.
    bool LoadDocument(const QString& path);
    void LoadClipboard();
    void ShowShelf();

    void ReturnToShelf(ShelfDocument& document) override;
    void DocumentCleared() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ReaderSettings& settings_;
    ShelfDocument& document_;
};
