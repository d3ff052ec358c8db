#include "widgets/blockdiagram.h"

#include <QPainter>
#include <QPainterPath>

#include "widgets/theme.h"

namespace kvr::gui {

namespace {

constexpr int kInputX[4] = {22, 128, 226, 324};
constexpr int kOutputX[7] = {520, 610, 716, 810, 904, 998, 1088};
constexpr int kOutputWidth[7] = {76, 96, 84, 84, 84, 84, 80};
constexpr int kTop = 78;
constexpr int kOutputPitch = 108;

int inputRow(core::InputId input)
{
    switch (input) {
    case core::InputId::A:
        return kTop + 22;
    case core::InputId::M:
        return kTop + 22 + 150;
    case core::InputId::B:
        return kTop + 22 + 300;
    }
    return kTop;
}

void arrowHead(QPainter& p, QPointF tip, const QColor& c)
{
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(tip + QPointF(-7, -4));
    path.lineTo(tip + QPointF(-7, 4));
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
}

} // namespace

QColor inputColour(core::InputId input)
{
    switch (input) {
    case core::InputId::A:
        return theme::colour(theme::Role::InputA);
    case core::InputId::B:
        return theme::colour(theme::Role::InputB);
    case core::InputId::M:
        return theme::colour(theme::Role::InputMix);
    }
    return {};
}

BlockDiagram::BlockDiagram(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("BlockDiagram"));
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect BlockDiagram::inputBlock(core::InputId input, int column)
{
    return QRect(kInputX[column], inputRow(input), kBlockWidth, kBlockHeight);
}

QRect BlockDiagram::summingNode()
{
    const QRect a = inputBlock(core::InputId::M, 0);
    return QRect(a.center().x() - 20, a.center().y() - 20, 40, 40);
}

QRect BlockDiagram::outputBlock(int output, int column)
{
    const int y = kTop + 8 + (output - 1) * kOutputPitch;
    if (column == 0) return QRect(kOutputX[0], y + 12, kOutputWidth[0], 30);
    return QRect(kOutputX[column], y, kOutputWidth[column], column == 1 ? 60 : kBlockHeight);
}

QRect BlockDiagram::valueArea(const QRect& block)
{
    return QRect(block.left() + 8, block.top() + block.height() - 26, block.width() - 12, 22);
}

QRect BlockDiagram::headerArea()
{
    return QRect(0, 0, kWidth, 62);
}

int BlockDiagram::busX(core::InputId input) const
{
    switch (input) {
    case core::InputId::A:
        return 446;
    case core::InputId::M:
        return 464;
    case core::InputId::B:
        return 482;
    }
    return 446;
}

int BlockDiagram::inputRowY(core::InputId input) const
{
    return inputRow(input) + kBlockHeight / 2;
}

void BlockDiagram::setRoutes(const std::array<core::RouteSource, core::kOutputCount>& routes)
{
    m_routes = routes;
    update();
}

void BlockDiagram::setMutes(const std::array<bool, core::kOutputCount>& mutes)
{
    m_mutes = mutes;
    update();
}

void BlockDiagram::setInputMutes(const std::array<bool, core::kInputCount>& mutes)
{
    m_inputMutes = mutes;
    update();
}

void BlockDiagram::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), theme::colour(theme::Role::Window));

    // Header band and the two panels.
    const QRect header = headerArea();
    p.fillRect(header, theme::colour(theme::Role::Panel));
    p.setPen(theme::colour(theme::Role::Border));
    p.drawLine(header.bottomLeft(), header.bottomRight());

    const QRectF inputs(10, kTop - 8, 420, kHeight - kTop - 2);
    const QRectF outputs(500, kTop - 8, kWidth - 510, kHeight - kTop - 2);
    p.setBrush(theme::colour(theme::Role::Panel));
    p.setPen(QPen(theme::colour(theme::Role::Border), 1));
    p.drawRoundedRect(inputs, 8, 8);
    p.drawRoundedRect(outputs, 8, 8);

    QFont section = font();
    section.setBold(true);
    section.setPointSizeF(font().pointSizeF() * 0.78);
    section.setLetterSpacing(QFont::AbsoluteSpacing, 1.6);
    p.setFont(section);
    p.setPen(theme::colour(theme::Role::TextDim));
    p.drawText(QRectF(inputs.left() + 14, inputs.top() + 6, 200, 16), Qt::AlignLeft, QStringLiteral("INPUTS"));
    p.drawText(QRectF(outputs.left() + 14, outputs.top() + 6, 200, 16), Qt::AlignLeft, QStringLiteral("OUTPUTS"));

    const QPen wire(theme::colour(theme::Role::Wire), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // Input rows: name -> gain -> delay -> PEQ -> bus.
    using core::InputId;
    for (InputId id : {InputId::A, InputId::M, InputId::B}) {
        const int y = inputRowY(id);
        const QColor c = inputColour(id);
        QPen coloured(c, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        const bool muted = m_inputMutes[static_cast<int>(id)];
        if (muted) coloured.setStyle(Qt::DashLine);
        p.setPen(coloured);
        const int startX = id == InputId::M ? summingNode().right() : inputBlock(id, 0).right();
        p.drawLine(startX, y, busX(id), y);
        p.setBrush(c);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(busX(id), y), 3.5, 3.5);
    }
    // A and B feed the summing node.
    {
        const QRect node = summingNode();
        const int x = node.center().x();
        p.setPen(QPen(inputColour(InputId::A), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(x, inputBlock(InputId::A, 0).bottom(), x, node.top() - 8);
        p.save();
        p.translate(x, node.top() - 1);
        p.rotate(90);
        arrowHead(p, QPointF(0, 0), inputColour(InputId::A));
        p.restore();
        p.setPen(QPen(inputColour(InputId::B), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(x, inputBlock(InputId::B, 0).top(), x, node.bottom() + 8);
        p.save();
        p.translate(x, node.bottom() + 1);
        p.rotate(-90);
        arrowHead(p, QPointF(0, 0), inputColour(InputId::B));
        p.restore();
    }

    // The bus: one vertical line per input channel.
    const int busTop = outputBlock(1, 0).center().y() - 10;
    const int busBottom = std::max(outputBlock(4, 0).center().y(), inputRowY(InputId::B)) + 10;
    for (InputId id : {InputId::A, InputId::M, InputId::B}) {
        p.setPen(QPen(inputColour(id), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(busX(id), busTop, busX(id), busBottom);
    }
    QFont tag = font();
    tag.setBold(true);
    tag.setPointSizeF(font().pointSizeF() * 0.72);
    p.setFont(tag);
    const char* busNames[3] = {"A", "B", "A+B"};
    for (InputId id : {InputId::A, InputId::M, InputId::B}) {
        p.setPen(inputColour(id));
        p.drawText(QRectF(busX(id) - 20, busBottom + 2, 40, 14), Qt::AlignCenter,
                   QString::fromLatin1(busNames[static_cast<int>(id)]));
    }

    // Outputs: bus tap -> route -> chain -> name.
    for (int n = 1; n <= core::kOutputCount; ++n) {
        const QRect route = outputBlock(n, 0);
        const int y = route.center().y();
        const InputId source = core::inputForRoute(m_routes[static_cast<size_t>(n - 1)]);
        const QColor c = inputColour(source);
        const int tapX = busX(source);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(tapX, y), 4.5, 4.5);
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(tapX, y, route.left() - 2, y);
        // The chain.
        QPen chain = wire;
        chain.setColor(c.darker(135));
        if (m_mutes[static_cast<size_t>(n - 1)]) {
            chain.setColor(theme::colour(theme::Role::Mute).darker(120));
            chain.setStyle(Qt::DashLine);
        }
        p.setPen(chain);
        for (int col = 0; col < 6; ++col) {
            const QRect a = outputBlock(n, col);
            const QRect b = outputBlock(n, col + 1);
            p.drawLine(a.right() + 1, y, b.left() - 8, y);
            arrowHead(p, QPointF(b.left() - 1, y), chain.color());
            p.setPen(chain);
        }
        // Row guide.
        p.setPen(QPen(theme::colour(theme::Role::Border), 1, Qt::DotLine));
        if (n < core::kOutputCount) {
            const int gy = (outputBlock(n, 1).bottom() + outputBlock(n + 1, 1).top()) / 2;
            p.drawLine(510, gy, kWidth - 20, gy);
        }
    }
}

} // namespace kvr::gui
