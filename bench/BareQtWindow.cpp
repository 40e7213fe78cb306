// qt-only: the floor that bench/side_by_side.py measures the game against; it links Qt alone.
// A 500 x 300 picture redrawn every 100 ms, from a precise 20 ms timer, and shown in a widget:
// the work of the game's window without the game. Usage: BareQtWindow [title]
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {
constexpr int kWidth = 500;
constexpr int kHeight = 300;
constexpr int kPeriodMs = 20;
constexpr int kFiringsPerFrame = 5;  // one frame every 100 ms
constexpr QRgb kSky = 0xFF000066u;
constexpr QRgb kSprite = 0xFFFFFFFFu;

class Field : public QWidget {
public:
    Field() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(kWidth, kHeight);
        Redraw();
    }

    void Fire() {
        if (++firings_ % kFiringsPerFrame != 0) {
            return;
        }
        Redraw();
        repaint();  // on screen within the frame's 100 ms, as the game does
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.drawImage(0, 0, picture_);
    }

private:
    // The whole picture each frame, with something that moves so that frames differ.
    void Redraw() {
        picture_.fill(kSky);
        const int x = (firings_ / kFiringsPerFrame) % (kWidth - 32);
        for (int y = 216; y < 280; ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(y));
            std::fill(line + x, line + x + 32, kSprite);
        }
    }

    QImage picture_{kWidth, kHeight, QImage::Format_RGB32};
    long firings_ = 0;
};
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Field field;
    field.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("BareQt"));
    field.show();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &field, [&field] { field.Fire(); });
    timer.start(kPeriodMs);
    return app.exec();
}
