#include "windows/librarymakerwindow.h"
#include "app/programtext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/librarymaker.h"
#include "util/texts.h"
#include "widgets/theme.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {
} // namespace

LibraryMakerWindow::LibraryMakerWindow(LibraryMaker& maker, DeviceController& device, DocumentController& document,
                                       QWidget* parent)
    : FramedWindow(QStringLiteral("TLoadAllMemForm"), q(t::kLibraryCaption), parent), m_maker(maker), m_device(device),
      m_document(document), m_libraryName(new QLineEdit(body())), m_connected(new QLabel(body())),
      m_send(new QPushButton(q(t::kSendLibrary), body()))
{
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(10);

    auto* top = new QHBoxLayout;
    auto* libraryLabel = new QLabel(q(t::kLibraryLabel), body());
    libraryLabel->setProperty("role", QStringLiteral("dim"));
    m_libraryName->setObjectName(QStringLiteral("Edit40"));
    m_libraryName->setReadOnly(true);
    top->addWidget(libraryLabel);
    top->addWidget(m_libraryName, 1);
    layout->addLayout(top);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);
    for (int i = 0; i < kRows; ++i) {
        const int column = (i / 9) * 3;
        const int row = i % 9;
        auto* label = new QLabel(q(t::kLibraryRowLabel).arg(i + 1), body());
        label->setObjectName(QStringLiteral("RowL%1").arg(i + 1));
        label->setProperty("role", QStringLiteral("dim"));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(30);
        auto* edit = new QLineEdit(body());
        edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        edit->setReadOnly(true);
        edit->setMinimumWidth(200);
        auto* button = new QPushButton(q(t::kImportBrowse), body());
        button->setObjectName(QStringLiteral("Row%1B").arg(i + 1));
        button->setFixedWidth(36);
        button->setStyleSheet(QStringLiteral("padding: 4px 2px;"));
        connect(button, &QPushButton::clicked, &m_maker, [this, i] { m_maker.chooseRowFile(i); });
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1);
        grid->addWidget(button, row, column + 2);
        m_edits[static_cast<size_t>(i)] = edit;
        m_rowButtons[static_cast<size_t>(i)] = button;
    }
    grid->setColumnMinimumWidth(3, 40);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    const char* captions[3] = {t::kLoadFiles, t::kSaveLibrary, t::kOpenLibrary};
    const char* names[3] = {"LoadFilesB", "SaveLibraryB", "OpenLibraryB"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(q(captions[i]), body());
        b->setObjectName(q(names[i]));
        buttons->addWidget(b);
        m_fileButtons[static_cast<size_t>(i)] = b;
    }
    buttons->addStretch(1);
    m_send->setObjectName(QStringLiteral("SendLibraryB"));
    m_send->setToolTip(q(t::kSendLibraryHint));
    m_send->setStyleSheet(QStringLiteral("QPushButton { border-color: #3cb4c8; font-weight: bold; }"));
    buttons->addWidget(m_send);
    layout->addLayout(buttons);

    auto* bottom = new QHBoxLayout;
    auto* connectB = new QPushButton(q(t::kConnectButton), body());
    connectB->setObjectName(QStringLiteral("ConnectB"));
    auto* connectedCaption = new QLabel(q(t::kConnectedLabel), body());
    connectedCaption->setProperty("role", QStringLiteral("dim"));
    m_connected->setObjectName(QStringLiteral("ConnectedL"));
    m_connected->setProperty("role", QStringLiteral("status"));
    bottom->addWidget(connectB);
    bottom->addSpacing(10);
    bottom->addWidget(connectedCaption);
    bottom->addWidget(m_connected);
    bottom->addStretch(1);
    layout->addLayout(bottom);

    connect(m_fileButtons[0], &QPushButton::clicked, &m_maker, &LibraryMaker::loadFiles);
    connect(m_fileButtons[1], &QPushButton::clicked, &m_maker, &LibraryMaker::save);
    connect(m_fileButtons[2], &QPushButton::clicked, &m_maker, &LibraryMaker::open);
    connect(m_send, &QPushButton::clicked, &m_maker, &LibraryMaker::send);
    connect(connectB, &QPushButton::clicked, &m_device, &DeviceController::requestConnection);
    connect(&m_maker, &LibraryMaker::changed, this, &LibraryMakerWindow::refreshRows);
    connect(&m_device, &DeviceController::connectionChanged, this, &LibraryMakerWindow::refreshConnection);
    connect(&m_document, &DocumentController::busyChanged, this, &LibraryMakerWindow::refreshConnection);
    refreshRows();
    refreshConnection();
    adjustSize();
}

void LibraryMakerWindow::refreshRows()
{
    const QStringList& rows = m_maker.rows();
    for (int i = 0; i < kRows; ++i)
        m_edits[static_cast<size_t>(i)]->setText(i < rows.size() ? rows[i] : QString());
    m_libraryName->setText(m_maker.fileName());
}

void LibraryMakerWindow::refreshConnection()
{
    m_connected->setText(m_device.statusText());
    m_connected->setStyleSheet(
        QStringLiteral("background: %1;").arg(theme::statusColour(m_device.statusConnected()).name()));
    const bool idle = !m_document.busy();
    for (QPushButton* b : m_fileButtons)
        b->setEnabled(idle);
    for (QPushButton* b : m_rowButtons)
        b->setEnabled(idle);
    m_send->setEnabled(idle);
}

} // namespace kvr::gui
