#include "windows/passwordwindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/devicecontroller.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

PasswordWindow::PasswordWindow(DeviceController& device, QWidget* parent)
    : FramedWindow(QStringLiteral("TPassWord_Form"), QString::fromUtf8(t::kPasswordCaption), parent), m_device(device),
      m_edit(new QLineEdit(body())), m_active(new QCheckBox(QString::fromUtf8(t::kPasswordActive), body())),
      m_ok(new QPushButton(QString::fromUtf8(t::kOk), body()))
{
    setModal(true);
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(20, 14, 20, 16);
    layout->setSpacing(12);
    auto* group = new QGroupBox(QString::fromUtf8(t::kPasswordGroup), body());
    group->setObjectName(QStringLiteral("PasswordGroup"));
    auto* keys = new QHBoxLayout(group);
    keys->setSpacing(10);
    struct Key {
        const char* name;
        QString caption;
        uint8_t code;
    };
    // The front panel's up, down and enter keys.
    const Key defs[3] = {{"FARR_SpeedButton", QString::fromUtf8("\u25B2"), 1},
                         {"FABA_SpeedButton", QString::fromUtf8("\u25BC"), 2},
                         {"ENTER_SpeedButton", QStringLiteral("ENTER"), 3}};
    for (const Key& k : defs) {
        auto* b = new QPushButton(k.caption, group);
        b->setObjectName(QString::fromUtf8(k.name));
        b->setMinimumSize(78, 46);
        b->setStyleSheet(QStringLiteral("font-size: 12pt; font-weight: bold;"));
        b->setAutoDefault(false);
        const uint8_t code = k.code;
        connect(b, &QPushButton::clicked, this, [this, code] { press(code); });
        keys->addWidget(b);
    }
    layout->addWidget(group);

    m_edit->setObjectName(QStringLiteral("Password_Edit"));
    m_edit->setReadOnly(true);
    m_edit->setAlignment(Qt::AlignCenter);
    m_edit->setStyleSheet(QStringLiteral("font-size: 16pt; letter-spacing: 6px; padding: 4px;"));
    layout->addWidget(m_edit);
    m_active->setObjectName(QStringLiteral("Active_CheckBox"));
    layout->addWidget(m_active);

    auto* buttons = new QHBoxLayout;
    auto* clear = new QPushButton(QString::fromUtf8(t::kPasswordClear), body());
    clear->setObjectName(QStringLiteral("Clear_Button"));
    clear->setAutoDefault(false);
    auto* cancel = new QPushButton(QString::fromUtf8(t::kCancel), body());
    cancel->setObjectName(QStringLiteral("Cancel_BitBtn"));
    cancel->setAutoDefault(false);
    m_ok->setObjectName(QStringLiteral("OK_BitBtn"));
    buttons->addWidget(clear);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);
    connect(clear, &QPushButton::clicked, this, &PasswordWindow::clearPassword);
    connect(cancel, &QPushButton::clicked, this, &PasswordWindow::reject);
    connect(m_ok, &QPushButton::clicked, this, &PasswordWindow::accept);
    clearPassword();
    setFixedWidth(380);
    adjustSize();
}

void PasswordWindow::clearPassword()
{
    m_keys.fill(0);
    m_count = 0;
    m_edit->clear();
    m_ok->setEnabled(false);
    m_active->setChecked(false);
}

void PasswordWindow::press(uint8_t key)
{
    if (m_count >= kKeys) return;
    m_keys[static_cast<size_t>(m_count++)] = key;
    m_edit->setText(QString(m_count, QLatin1Char('*')));
    m_ok->setEnabled(m_count == kKeys);
}

void PasswordWindow::showEvent(QShowEvent* event)
{
    clearPassword();
    FramedWindow::showEvent(event);
}

void PasswordWindow::accept()
{
    if (m_count != kKeys) return;
    const auto keys = m_keys;
    const bool active = m_active->isChecked();
    FramedWindow::accept();
    m_device.sendPassword(keys, active);
}

void PasswordWindow::reject()
{
    FramedWindow::reject();
    m_device.cancelPassword();
}

} // namespace kvr::gui
