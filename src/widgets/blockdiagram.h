#pragma once

#include <QRect>
#include <QWidget>
#include <array>

#include "config/routing.h"

namespace kvr::gui {

// The processor drawn as a signal-flow diagram: three input rows (A, A+B, B) feeding a bus, four
// output chains taking their signal from the bus through their route button. The controls are
// real widgets laid over it at the places this class gives.
class BlockDiagram : public QWidget {
    Q_OBJECT
public:
    explicit BlockDiagram(QWidget* parent = nullptr);

    static constexpr int kWidth = 1180;
    static constexpr int kHeight = 520;
    static constexpr int kBlockWidth = 84;
    static constexpr int kBlockHeight = 52;

    // Input rows in the file's order: A, B, A+B. Columns: 0 name, 1 gain, 2 delay, 3 PEQ.
    static QRect inputBlock(core::InputId input, int column);
    static QRect summingNode();
    // Output rows 1..4. Columns: 0 route, 1 crossover, 2 PEQX, 3 dynamics, 4 delay, 5 gain, 6 name.
    static QRect outputBlock(int output, int column);
    // A label laid over the lower part of a block.
    static QRect valueArea(const QRect& block);
    static QRect headerArea();

    void setRoutes(const std::array<core::RouteSource, core::kOutputCount>& routes);
    void setMutes(const std::array<bool, core::kOutputCount>& mutes);
    void setInputMutes(const std::array<bool, core::kInputCount>& mutes);

    QSize sizeHint() const override { return {kWidth, kHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int busX(core::InputId input) const;
    int inputRowY(core::InputId input) const;

    std::array<core::RouteSource, core::kOutputCount> m_routes{};
    std::array<bool, core::kOutputCount> m_mutes{};
    std::array<bool, core::kInputCount> m_inputMutes{};
};

QColor inputColour(core::InputId input);

} // namespace kvr::gui
