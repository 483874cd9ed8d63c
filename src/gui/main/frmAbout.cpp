#include "gui/main/frmAbout.h"

#include "core/app/Version.h"
#include "gui/common/Prompter.h"
#include "gui/common/Widgets.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QSysInfo>
#include <QVBoxLayout>

namespace ormavex::gui {

frmAbout::frmAbout(const AppPaths& paths, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_paths(paths), m_prompter(prompter) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Ormavex のﾊﾞｰｼﾞｮﾝ情報"));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* title = Named<QLabel>("lblTitle", QStringLiteral("Ormavex"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    title->setFont(big);
    auto* description = new QLabel(QStringLiteral("ｹｰｿﾝ式防波堤 部材断面力の計算と結果印刷"), this);
    auto* version = Named<QLabel>("lblVersion", Q("ﾊﾞｰｼﾞｮﾝ %1").arg(Q(kVersion)), this);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(description);
    text->addSpacing(8);
    text->addWidget(version);
    text->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* ok = Named<QPushButton>("cmdOK", QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* sysInfo = Named<QPushButton>("cmdSysInfo", QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

    QHBoxLayout* buttons = Row({nullptr, ok, sysInfo});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}

std::string frmAbout::SystemInformation() const {
    const QString info =
        QStringLiteral("ｵﾍﾟﾚｰﾃｨﾝｸﾞｼｽﾃﾑ：%1\nQt ﾊﾞｰｼﾞｮﾝ：%2\nﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞ：%3\n設定ﾌｧｲﾙ：%4")
            .arg(QSysInfo::prettyProductName(), QString::fromLatin1(qVersion()),
                 QDir::toNativeSeparators(Q(m_paths.programFolder)),
                 QDir::toNativeSeparators(Q(m_paths.settingsFile)));
    return info.toStdString();
}

void frmAbout::cmdSysInfo_Click() {
    m_prompter.show(this, {"ｼｽﾃﾑ情報", SystemInformation(), Message::Icon::Information});
}

} // namespace ormavex::gui
