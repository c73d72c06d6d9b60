#include "AddLocatorDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {

QLabel* plainLabel(const QString& text, const QString& name)
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText); // the example comes from the build, never markup
    return label;
}

} // namespace

AddLocatorDialog::AddLocatorDialog(const QString& example, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAdd"));
    setWindowTitle(QStringLiteral(" Add Locator"));

    m_txtDomain = new QLineEdit;
    m_txtDomain->setObjectName(QStringLiteral("txtDomain"));
    m_cmdOK = new QPushButton(QStringLiteral("&OK"));
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(QStringLiteral("&Cancel"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_cmdOK, &QPushButton::clicked, this, [this] {
        if (!m_acceptCheck || m_acceptCheck()) {
            accept();
        }
    });
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* sample = new QHBoxLayout;
    sample->addWidget(plainLabel(QStringLiteral("Like this:"), QStringLiteral("lblLike")));
    auto* exampleLabel = plainLabel(example, QStringLiteral("lblExample"));
    exampleLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    sample->addWidget(exampleLabel, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(plainLabel(QStringLiteral("Enter the IP Locator Domain:"), QStringLiteral("lblPrompt")));
    layout->addWidget(m_txtDomain);
    layout->addLayout(sample);
    layout->addLayout(buttons);
    m_txtDomain->setFocus();
}

void AddLocatorDialog::setAcceptCheck(std::function<bool()> check)
{
    m_acceptCheck = std::move(check);
}

QString AddLocatorDialog::domainText() const
{
    return m_txtDomain->text();
}
