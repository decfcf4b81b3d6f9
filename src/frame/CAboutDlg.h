#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class CColorStatic;

// "О программе Orvek Lumeno": the version, the maker's notice, and two links
// in blue under a hand cursor, one to the home page and one starting a mail
// message to the maker.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static QUrl HomePage();
    static QUrl MailMessage();

    // Opens a link; what it answers is ignored. Tests put their own in place
    // of the desktop's.
    std::function<bool(const QUrl&)> openUrl;

    CColorStatic* HomeLink() const { return homeLink_; }
    CColorStatic* MailLink() const { return mailLink_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CColorStatic* homeLink_;
    CColorStatic* mailLink_;
};
