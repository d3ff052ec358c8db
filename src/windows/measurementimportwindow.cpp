#include "windows/measurementimportwindow.h"
#include "app/programtext.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/documentcontroller.h"
#include "app/filedialogs.h"
#include "app/viewoperations.h"
#include "tools/measurementformats.h"
#include "util/texts.h"
#include "windows/gesturewatcher.h"

namespace kvr::gui {

namespace t = core::texts;

MeasurementImportWindow::MeasurementImportWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TImpDataForm"), q(t::kImportCaption), parent), m_document(document),
      m_gestures(new GestureWatcher(document, this)), m_kind(new QComboBox(body())),
      m_reference(new QDoubleSpinBox(body())), m_info(new QPlainTextEdit(body())),
      m_ok(new QPushButton(q(t::kOk), body()))
{
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(14, 10, 14, 12);
    layout->setSpacing(10);

    auto* files = new QGridLayout;
    files->setHorizontalSpacing(8);
    files->setVerticalSpacing(6);
    for (int o = 1; o <= 4; ++o) {
        const size_t i = static_cast<size_t>(o - 1);
        auto* label = new QLabel(body());
        label->setObjectName(QStringLiteral("Out%1L").arg(o));
        label->setMinimumWidth(48);
        label->setStyleSheet(QStringLiteral("font-weight: bold;"));
        auto* edit = new QLineEdit(body());
        edit->setObjectName(QStringLiteral("Edit%1").arg(o));
        edit->setMinimumWidth(420);
        auto* browse = new QPushButton(q(t::kImportBrowse), body());
        browse->setObjectName(QStringLiteral("data%1B").arg(o));
        browse->setFixedWidth(36);
        browse->setStyleSheet(QStringLiteral("padding: 4px 2px;"));
        auto* clear = new QPushButton(q(t::kImportClear), body());
        clear->setObjectName(QStringLiteral("Clear%1B").arg(o));
        files->addWidget(label, o - 1, 0);
        files->addWidget(edit, o - 1, 1);
        files->addWidget(browse, o - 1, 2);
        files->addWidget(clear, o - 1, 3);
        m_outputLabels[i] = label;
        m_edits[i] = edit;
        m_browseButtons[i] = browse;
        m_clearButtons[i] = clear;
        connect(browse, &QPushButton::clicked, this, [this, o] { this->browse(o); });
        connect(clear, &QPushButton::clicked, this, [this, o] { this->clear(o); });
        connect(edit, &QLineEdit::editingFinished, this, [this, o, edit] {
            if (!m_filling) m_document.views().setMeasurementFile(o, edit->text());
        });
    }
    layout->addLayout(files);

    auto* settings = new QHBoxLayout;
    m_kind->setObjectName(QStringLiteral("TipoFileGroup"));
    for (const char* item : t::kImportKindItems)
        m_kind->addItem(q(item));
    auto* referenceLabel = new QLabel(q(t::kImportReference), body());
    referenceLabel->setProperty("role", QStringLiteral("dim"));
    m_reference->setObjectName(QStringLiteral("dBsplEdit"));
    m_reference->setRange(-140.0, 140.0);
    m_reference->setDecimals(1);
    m_reference->setSingleStep(0.1);
    m_reference->setSuffix(QStringLiteral(" dB"));
    m_reference->setKeyboardTracking(false);
    m_gestures->watch(m_reference);
    settings->addWidget(m_kind);
    settings->addSpacing(16);
    settings->addWidget(referenceLabel);
    settings->addWidget(m_reference);
    settings->addStretch(1);
    layout->addLayout(settings);

    m_info->setObjectName(QStringLiteral("InfoMemo"));
    m_info->setReadOnly(true);
    m_info->setFixedHeight(90);
    layout->addWidget(m_info);

    auto* buttons = new QHBoxLayout;
    m_ok->setObjectName(QStringLiteral("OKB"));
    m_ok->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);

    connect(m_kind, &QComboBox::activated, this, [this](int item) {
        if (!m_filling) m_document.views().chooseMeasurementKind(item);
        // IMP and LAUD turn back to CLIO, also when the Configuration already said CLIO.
        fill();
    });
    connect(m_reference, &QDoubleSpinBox::valueChanged, this, [this](double db) {
        if (!m_filling) m_document.views().setMeasurementReference(db);
    });
    connect(m_ok, &QPushButton::clicked, this, &MeasurementImportWindow::runImport);
    connect(&m_document, &DocumentController::changed, this, &MeasurementImportWindow::onChanged);
    // The summary belongs to the last OK, not to a Configuration that replaced it.
    connect(&m_document, &DocumentController::replaced, m_info, &QPlainTextEdit::clear);
    fill();
    fillNames();
    adjustSize();
}

void MeasurementImportWindow::showEvent(QShowEvent* event)
{
    FramedWindow::showEvent(event);
    fillNames();
}

void MeasurementImportWindow::onChanged(const DocumentChange& change)
{
    if (change.touches(Region::Measurement)) fill();
    if (change.touches(Region::Names)) fillNames();
}

void MeasurementImportWindow::fill()
{
    const core::MeasurementImportSettings& s = m_document.configuration().measurement;
    m_filling = true;
    for (size_t i = 0; i < m_edits.size(); ++i)
        if (m_edits[i]->text().toStdString() != s.fileNames[i])
            m_edits[i]->setText(QString::fromStdString(s.fileNames[i]));
    m_kind->setCurrentIndex(s.fileKind);
    m_reference->setValue(static_cast<double>(s.dBspl));
    m_filling = false;
}

void MeasurementImportWindow::fillNames()
{
    for (int o = 1; o <= 4; ++o)
        m_outputLabels[static_cast<size_t>(o - 1)]->setText(
            QString::fromStdString(m_document.configuration().output(o).name));
}

void MeasurementImportWindow::browse(int output)
{
    const auto kind = static_cast<core::MeasurementKind>(m_document.configuration().measurement.fileKind);
    FileDialogRequest request;
    request.title = q(t::kImportDialogTitle);
    request.filter = q(core::measurementDialogFilter(kind));
    const QString path = m_document.dialogs().openFile(request);
    if (!path.isEmpty()) m_document.views().setMeasurementFile(output, path);
}

void MeasurementImportWindow::clear(int output)
{
    m_document.views().setMeasurementFile(output, QString());
}

void MeasurementImportWindow::runImport()
{
    // A name typed and not yet confirmed counts.
    for (int o = 1; o <= 4; ++o)
        m_document.views().setMeasurementFile(o, m_edits[static_cast<size_t>(o - 1)]->text());
    QStringList lines;
    for (const std::string& line : m_document.views().importMeasurements())
        lines << QString::fromStdString(line);
    m_info->setPlainText(lines.join(QLatin1Char('\n')));
}

} // namespace kvr::gui
