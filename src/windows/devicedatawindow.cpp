#include "windows/devicedatawindow.h"
#include "app/programtext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/messagepresenter.h"
#include "image/deviceimage.h"
#include "image/generatext.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

DeviceDataWindow::DeviceDataWindow(DocumentController& document, DeviceController& device, QWidget* parent)
    : FramedWindow(QStringLiteral("TDATAForm"), q(t::kDeviceDataCaption), parent), m_document(document),
      m_device(device), m_block1(new QPlainTextEdit(body())), m_block2(new QPlainTextEdit(body())),
      m_numbered(new QPlainTextEdit(body())), m_generate(new QPushButton(q(t::kDeviceDataButton), body()))
{
    auto* grid = new QGridLayout(body());
    grid->setContentsMargins(12, 10, 12, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSizeF(9.0);
    const char* captions[3] = {t::kDeviceDataBlock1, t::kDeviceDataBlock2, t::kDeviceDataLines};
    const char* names[3] = {"DATAMemo1", "DATAMemo2", "LineasMemo"};
    QPlainTextEdit* memos[3] = {m_block1, m_block2, m_numbered};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(q(captions[i]), body());
        label->setProperty("role", QStringLiteral("dim"));
        memos[i]->setObjectName(q(names[i]));
        memos[i]->setReadOnly(true);
        memos[i]->setLineWrapMode(QPlainTextEdit::NoWrap);
        memos[i]->setFont(font);
        memos[i]->setMinimumSize(i == 2 ? 200 : 160, 460);
        grid->addWidget(label, 0, i);
        grid->addWidget(memos[i], 1, i);
    }
    auto* buttons = new QHBoxLayout;
    m_generate->setObjectName(QStringLiteral("GeneraB"));
    buttons->addStretch(1);
    buttons->addWidget(m_generate);
    grid->addLayout(buttons, 2, 0, 1, 3);
    connect(m_generate, &QPushButton::clicked, this, &DeviceDataWindow::generate);
    adjustSize();
}

void DeviceDataWindow::showEvent(QShowEvent* event)
{
    FramedWindow::showEvent(event);
    generate();
}

bool DeviceDataWindow::generate()
{
    auto image = core::BuildDeviceImage(m_document.configuration(), m_device.memoryBlocked());
    auto text = image ? core::generaText(*image) : core::Result<core::GeneraText>(image.error());
    if (!text) {
        // No bytes of an earlier image beside the error.
        for (QPlainTextEdit* box : {m_block1, m_block2, m_numbered})
            box->clear();
        m_document.presenter().show(core::errorBox(text.message()));
        return false;
    }
    m_block1->setPlainText(joinLines(text->block1));
    m_block2->setPlainText(joinLines(text->block2));
    m_numbered->setPlainText(joinLines(text->numbered));
    return true;
}

} // namespace kvr::gui
