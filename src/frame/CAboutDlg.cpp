#include "frame/CAboutDlg.h"

#include <QDesktopServices>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "base/QtText.h"
#include "widgets/CColorStatic.h"
#include "widgets/DialogUnits.h"

namespace {

constexpr std::uint32_t kLinkBlue = 0x00FF0000;  // red 0, green 0, blue 255
const QString kHomeAddress = QStringLiteral("https://example.org/lumeno");
const QString kMailAddress = QStringLiteral("lumeno@example.org");

// The program's mark with its name beside it, drawn for the screen it is on.
QPixmap AboutPicture(QSize size, qreal pixelRatio) {
    QPixmap picture(size * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = size.height();
    QIcon(":/icons/app.svg").paint(&painter, QRect(0, 0, side, side));
    QFont name("Liberation Sans");
    name.setStyleHint(QFont::SansSerif);
    name.setBold(true);
    name.setPixelSize(side * 2 / 5);
    painter.setFont(name);
    painter.setPen(QColor(0x2f, 0x7f, 0xd6));
    painter.drawText(QRect(side + 2, 0, size.width() - side - 2, side),
                     Qt::AlignLeft | Qt::AlignVCenter, "Lumeno");
    return picture;
}

}  // namespace

QUrl CAboutDlg::HomePage() { return QUrl(kHomeAddress); }

QUrl CAboutDlg::MailMessage() {
    return QUrl("mailto:" + kMailAddress + "?subject=Orvek Lumeno v. 1.33R");
}

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent), openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName("AboutDialog");
    setWindowTitle(ProgramText("О программе Orvek Lumeno"));
    const DialogUnits units(font());

    auto* picture = new QLabel(this);
    picture->setObjectName("Picture");
    units.Place(picture, 9, 16, 55, 22);
    picture->setPixmap(AboutPicture(picture->size(), devicePixelRatioF()));

    auto* icon = new QLabel(this);
    icon->setObjectName("Icon");
    units.Place(icon, 22, 55, 20, 20);
    const int side = std::min(icon->width(), icon->height());
    icon->setPixmap(QIcon(":/icons/app.svg").pixmap(QSize(side, side), devicePixelRatioF()));

    const auto text = [&](std::string_view content, int top, int width, int height) {
        auto* label = new QLabel(ProgramText(content), this);
        label->setTextFormat(Qt::PlainText);
        units.Place(label, 74, top, width, height);
        return label;
    };
    text("Orvek Lumeno Версия 1.33R", 8, 103, 8)->setObjectName("Version");
    text("© Orvek. Все права защищены.", 21, 121, 8)->setObjectName("Notice");
    text("Bug-reports, отзывы и пожелания сюда:", 53, 140, 9);

    const auto link = [&](const QString& content, const char* name, int top, int width) {
        auto* label = new CColorStatic(this);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        label->setText(content);
        label->SetTextColor(kLinkBlue);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        units.Place(label, 74, top, width, 8);
        // The link is as wide as its text, so the hand shows over the text only.
        label->resize(label->sizeHint().width(), label->height());
        return label;
    };
    homeLink_ = link(kHomeAddress, "HomeLink", 34, 77);
    mailLink_ = link(kMailAddress, "MailLink", 64, 64);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OkButton");
    ok->setDefault(true);
    units.Place(ok, 91, 80, 40, 14);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(units.Size(221, 97));
    ok->setFocus();
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == homeLink_ || watched == mailLink_) &&
        event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* link = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            link->rect().contains(mouse->position().toPoint())) {
            openUrl(watched == homeLink_ ? HomePage() : MailMessage());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
