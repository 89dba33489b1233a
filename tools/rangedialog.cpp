// The range check on opening, as Offset Values makes it, and the buttons.
#include "tools/rangedialog.h"

#include <QPushButton>
#include <QShowEvent>

#include "widgets/ErrorReport.h"
#include "widgets/GridHost.h"
#include "tools/dialogsupport.h"

namespace skyvane {
namespace {

constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 20;

} // namespace

RangeDialog::RangeDialog(GridHost& host, QWidget* parent) : QDialog(parent), host_(host) {}

void RangeDialog::setRange(int firstEntry, int lastEntry) {
    firstEntry_ = firstEntry;
    lastEntry_ = lastEntry;
}

void RangeDialog::addButtons(int width, int top, int height) {
    BBOk = new QPushButton(QStringLiteral("OK"), this);
    BBOk->setObjectName(QStringLiteral("BBOk"));
    BBOk->setGeometry(width / 2 - kButtonGap / 2 - kButtonWidth, top, kButtonWidth, kButtonHeight);
    BBOk->setDefault(true);
    BBCancel = new QPushButton(QStringLiteral("Cancel"), this);
    BBCancel->setObjectName(QStringLiteral("BBCancel"));
    BBCancel->setGeometry(width / 2 + kButtonGap / 2, top, kButtonWidth, kButtonHeight);
    setFixedSize(width, height);
    connect(BBOk, &QPushButton::clicked, this,
            [this] { runGuarded([this] { BBOkClick(); }, this); });
    connect(BBCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void RangeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once per opening: the dialog's own message boxes do not count as leaving it.
    if (event->spontaneous())
        return;
    const bool fault = host_.checkEntries(firstEntry_, lastEntry_);
    BBOk->setEnabled(!fault);
    if (fault) {
        warnWhenShown(this, QString::fromLatin1(kErrorInData));
        return;
    }
    host_.setStatus(QString());
    rangeOpened();
}

} // namespace skyvane
