#include "launch/FrmFaveSite.h"

#include "launch/InputBox.h"

#include <QHBoxLayout>
#include <QRadioButton>

FrmFaveSite::FrmFaveSite(SettingsStore &store, QWidget *parent)
    : FrmFaveList(QStringLiteral("FrmFaveSite"), QStringLiteral("[Site list]"), store,
                  Favourites::Sites, parent)
    , m_http(new QRadioButton(QStringLiteral("13"), extraArea()))
    , m_https(new QRadioButton(QStringLiteral("14"), extraArea()))
{
    m_http->setObjectName(QStringLiteral("optHttp"));
    m_https->setObjectName(QStringLiteral("optHttps"));
    m_http->setChecked(true);
    auto *layout = new QHBoxLayout(extraArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_http);
    layout->addWidget(m_https);
    GetOptions();
}

QString FrmFaveSite::chooseTarget()
{
    const QString start =
            m_https->isChecked() ? QStringLiteral("https://") : QStringLiteral("http://");
    const QString address = InputBox(this, QStringLiteral("Example: https://www.example.org/"),
                                     QStringLiteral("Enter new site"), start);
    return FavouriteListEdit::isSiteAddress(address) ? address : QString();
}
