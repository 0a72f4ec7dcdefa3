#pragma once

#include <QWidget>
#include <cstdint>

class QLabel;
class QProgressBar;

namespace torvin {

// The small borderless window shown while a title fetch runs: the program's name over
// its shadow, the version, a status text and a bar of titles received.
class TfrmWait final : public QWidget {
    Q_OBJECT
public:
    TfrmWait();

    void SetMax(std::int32_t max);
    void SetPosition(std::int32_t position);
    std::int32_t Max() const { return max; }
    std::int32_t Position() const { return position; }
    // The bar as drawn: filled share from 0 to 1.
    double Filled() const;

    QLabel* Label1 = nullptr;
    QLabel* lbVer = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateBar();

    std::int32_t max = 100;
    std::int32_t position = 0;
};

}  // namespace torvin
