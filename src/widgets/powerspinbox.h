#pragma once

#include <QSpinBox>

namespace kvr::gui {

// A power spin box: 25 W steps below 1000 W, 100 W steps from there on.
class PowerSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit PowerSpinBox(QWidget* parent = nullptr);
    void stepBy(int steps) override;
};

} // namespace kvr::gui
