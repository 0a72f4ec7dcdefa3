#include "wait/TfrmWait.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

#include "wait/Fonts.h"

namespace torvin {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* text, QRect geometry) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(geometry);
    label->setMargin(0);
    label->setIndent(0);
    return label;
}

}  // namespace

TfrmWait::TfrmWait() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setWindowTitle(QStringLiteral("frmWait"));
    setFixedSize(217, 81);
    setFont(UiFont());
    setAutoFillBackground(true);

    // Drawing order: the frame (painted by the window itself), then the labels, the
    // shadow before the title so that the title lies over it, and the bar above all.
    lbVer = MakeLabel(this, "0.05", {176, 16, 20, 12});
    lbVer->setAutoFillBackground(true);
    Label2 = MakeLabel(this, "タイトルリストを取得しています。", {8, 64, 163, 12});
    Label2->setAutoFillBackground(true);

    const QFont title = TitleFont();
    Label3 = MakeLabel(this, "Torvin Connect", {11, 10, 154, 19});
    Label3->setFont(title);
    Label3->setStyleSheet(QStringLiteral("color: rgb(192, 192, 192); background: transparent;"));
    Label1 = MakeLabel(this, "Torvin Connect", {8, 8, 154, 19});
    Label1->setFont(title);
    Label1->setStyleSheet(QStringLiteral("color: rgb(0, 128, 128); background: transparent;"));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(8, 40, 193, 17);
    ProgressBar1->setTextVisible(false);
    UpdateBar();

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

void TfrmWait::SetMax(std::int32_t m) {
    // The bar's range never ends below its minimum of 0.
    max = m < 0 ? 0 : m;
    UpdateBar();
}

void TfrmWait::SetPosition(std::int32_t p) {
    position = p;
    UpdateBar();
}

double TfrmWait::Filled() const {
    if (max <= 0) return position > 0 ? 1.0 : 0.0;
    if (position <= 0) return 0.0;
    if (position >= max) return 1.0;
    return static_cast<double>(position) / max;
}

void TfrmWait::UpdateBar() {
    // An empty range would make the toolkit's bar run its busy animation; draw it as a
    // plain bar instead, empty or (past its end) full. Positions outside the range show
    // as the nearer end.
    constexpr int kSteps = 10000;
    ProgressBar1->setRange(0, kSteps);
    ProgressBar1->setValue(static_cast<int>(Filled() * kSteps));
}

void TfrmWait::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(QColor(0, 128, 0));
    pen.setWidth(4);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Inset by half the line width, so the line runs along the window's edges.
    painter.drawRect(QRectF(2, 2, width() - 4, height() - 4));
}

}  // namespace torvin
