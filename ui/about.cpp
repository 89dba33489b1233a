// The about box. Its spacecraft is painted at construction, so the program needs no picture
// file of its own.
#include "ui/about.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace skyvane {

namespace {

constexpr int kLeft = 105;
constexpr int kTop = 92;
constexpr int kClientWidth = 192;
constexpr int kClientHeight = 211;
constexpr int kNamePixels = 24;
// The credit lines in a smaller type, so the copyright line fits the window's width.
constexpr int kCreditPixels = 11;
constexpr int kPictureWidth = 148;
constexpr int kPictureHeight = 100;

struct LabelLayout {
    const char* name;
    const char* text;
    int y;
    int height;
};
constexpr LabelLayout kName{"Label1", "Skyvane", 4, 32};
constexpr LabelLayout kVersion{"Label2", "version " SKYVANE_VERSION, 36, 16};
constexpr int kPictureTop = 56;
constexpr LabelLayout kCredit{"Label3", "\u00a9 2026 The Skyvane developers", 164, 18};
constexpr LabelLayout kContact{"Label4", "Free software: MIT licence", 184, 18};

// A few fixed stars, so the picture is the same at every start.
constexpr QPoint kStars[] = {{9, 12},   {31, 80},  {52, 7},  {70, 91},  {88, 18}, {121, 9},
                             {139, 40}, {131, 86}, {17, 47}, {104, 72}, {61, 58}, {143, 64}};

// A small delta-winged craft climbing to the right, engines lit, on a starry black sky.
QPixmap spacecraft() {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB888);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::white);
    for (const QPoint& star : kStars)
        painter.drawPoint(star);

    painter.translate(74, 52);
    painter.rotate(-18);
    painter.setPen(Qt::NoPen);
    // Engine flames behind the hull.
    painter.setBrush(QColor(255, 140, 0));
    painter.drawPolygon(QPolygonF({{-40, -7}, {-62, -4}, {-40, -1}}));
    painter.drawPolygon(QPolygonF({{-40, 1}, {-62, 4}, {-40, 7}}));
    painter.setBrush(QColor(255, 230, 120));
    painter.drawEllipse(QRectF(-46, -6, 8, 4));
    painter.drawEllipse(QRectF(-46, 2, 8, 4));
    // Wings, then the hull over them.
    painter.setBrush(QColor(90, 100, 130));
    painter.drawPolygon(QPolygonF({{-8, -5}, {-36, -30}, {-30, -5}}));
    painter.drawPolygon(QPolygonF({{-8, 5}, {-36, 30}, {-30, 5}}));
    QPainterPath hull;
    hull.moveTo(46, 0);
    hull.cubicTo(30, -9, -10, -10, -40, -8);
    hull.lineTo(-40, 8);
    hull.cubicTo(-10, 10, 30, 9, 46, 0);
    painter.setBrush(QColor(190, 195, 210));
    painter.drawPath(hull);
    // Cockpit canopy and a hull stripe.
    painter.setBrush(QColor(60, 200, 255));
    painter.drawEllipse(QRectF(14, -5, 16, 7));
    painter.setPen(QPen(QColor(200, 40, 40), 2));
    painter.drawLine(QPointF(-30, 1), QPointF(8, 1));
    painter.end();
    return QPixmap::fromImage(image);
}

QLabel* addYellowLabel(QWidget* parent, const LabelLayout& item) {
    auto* label = new QLabel(QString::fromUtf8(item.text), parent);
    label->setObjectName(QString::fromLatin1(item.name));
    label->setGeometry(0, item.y, kClientWidth, item.height);
    label->setAlignment(Qt::AlignCenter);
    QPalette yellow = label->palette();
    yellow.setColor(QPalette::WindowText, Qt::yellow);
    label->setPalette(yellow);
    return label;
}

} // namespace

TAboutWin::TAboutWin(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    createGui();
}

void TAboutWin::createGui() {
    setObjectName(QStringLiteral("AboutWin"));
    setWindowTitle(QStringLiteral("About Skyvane"));
    setModal(true);
    move(kLeft, kTop);
    setFixedSize(kClientWidth, kClientHeight);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    Label1 = addYellowLabel(this, kName);
    QFont large = Label1->font();
    large.setPixelSize(kNamePixels);
    large.setBold(true);
    Label1->setFont(large);
    Label2 = addYellowLabel(this, kVersion);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry((kClientWidth - kPictureWidth) / 2, kPictureTop, kPictureWidth,
                        kPictureHeight);
    Image1->setPixmap(spacecraft());

    Label3 = addYellowLabel(this, kCredit);
    Label4 = addYellowLabel(this, kContact);
    QFont small = Label3->font();
    small.setPixelSize(kCreditPixels);
    Label3->setFont(small);
    Label4->setFont(small);
}

} // namespace skyvane
