#include "windows/listingswindow.h"

#include "app/programtext.h"

#include <QDateTime>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTimer>

#include "app/documentcontroller.h"
#include "app/messagepresenter.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;
using core::ListingKind;

const std::array<ListingKind, ListingsWindow::kMemos> ListingsWindow::kKinds = {
    ListingKind::Peq1,   ListingKind::Peq2,   ListingKind::Dsp1,   ListingKind::Dsp2,
    ListingKind::Xover1, ListingKind::Xover2, ListingKind::Xover3, ListingKind::Xover4};
const std::array<const char*, ListingsWindow::kMemos> ListingsWindow::kMemoNames = {
    "PEQ1Memo", "PEQ2Memo", "DSP1DATAMemo", "DSP2DATAMemo", "Xover1Memo", "Xover2Memo", "Xover3Memo", "Xover4Memo"};

namespace {

// Edits come in bursts (a drag is tens of changes a second): the listings follow once it rests.
constexpr int kRefreshDelayMs = 150;

} // namespace

QString ListingsWindow::defaultDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/listings");
}

ListingsWindow::ListingsWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TMemosForm"), QString::fromUtf8(t::kListingsCaption), parent), m_document(document),
      m_refreshTimer(new QTimer(this)), m_folder(defaultDataFolder())
{
    auto* grid = new QGridLayout(body());
    grid->setContentsMargins(12, 10, 12, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSizeF(8.0);
    for (int i = 0; i < kMemos; ++i) {
        const QString name = QString::fromUtf8(kMemoNames[static_cast<size_t>(i)]);
        auto* label = new QLabel(name, body());
        label->setProperty("role", QStringLiteral("dim"));
        auto* memo = new QPlainTextEdit(body());
        memo->setObjectName(name);
        memo->setReadOnly(true);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setFont(font);
        memo->setMinimumSize(300, 230);
        memo->viewport()->installEventFilter(this);
        const int row = (i / 4) * 2;
        grid->addWidget(label, row, i % 4);
        grid->addWidget(memo, row + 1, i % 4);
        m_memos[static_cast<size_t>(i)] = memo;
    }
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(kRefreshDelayMs);
    connect(m_refreshTimer, &QTimer::timeout, this, &ListingsWindow::refresh);
    connect(&m_document, &DocumentController::changed, this, &ListingsWindow::onChanged);
    adjustSize();
}

void ListingsWindow::setSaveToFiles(bool save)
{
    m_save = save;
    m_files.reset();
    if (save) refresh();
}

void ListingsWindow::onChanged(const DocumentChange&)
{
    // Whatever changed may reach a coefficient or a control value; hidden and not saving, the
    // listings wait until the window is shown.
    if (isVisible() || m_save) m_refreshTimer->start();
}

void ListingsWindow::showEvent(QShowEvent* event)
{
    FramedWindow::showEvent(event);
    refresh();
}

void ListingsWindow::refresh()
{
    m_refreshTimer->stop();
    const core::Configuration& config = m_document.configuration();
    const QDateTime now = QDateTime::currentDateTime();
    const core::ListingInputs inputs{QLocale::system().toString(now, QLocale::ShortFormat).toStdString(),
                                     config.system.name, false};
    for (size_t i = 0; i < kMemos; ++i) {
        m_lines[i] = core::coefficientListing(config, kKinds[i], inputs);
        m_memos[i]->setPlainText(joinLines(m_lines[i]));
    }
    if (m_save) writeFiles();
}

void ListingsWindow::writeFiles()
{
    const QString error = m_files.write(m_folder, kKinds, m_lines);
    if (!error.isEmpty()) m_document.presenter().show(core::errorBox(error.toStdString()));
}

bool ListingsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (size_t i = 0; i < kMemos; ++i) {
            if (watched != m_memos[i]->viewport()) continue;
            emit memoOpened(QString::fromUtf8(kMemoNames[i]), m_lines[i]);
            return true;
        }
    }
    return FramedWindow::eventFilter(watched, event);
}

} // namespace kvr::gui
