#include "about/AboutBox.h"

#include "assets/ButtonArt.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgramLauncher.h"
#include "session/AppContext.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

const char* const AboutBox::kUnavailable = "現時点ではｼｽﾃﾑ情報を使用できません";

const QStringList& AboutBox::sysInfoPrograms()
{
    // The desktops' own system-information programs, best first.
    static const QStringList programs = {"hardinfo2",   "hardinfo",  "kinfocenter", "gnome-system-information",
                                         "xfce4-about", "lxqt-about"};
    return programs;
}

AboutBox::AboutBox(AppContext& app, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , app_(app)
    , title_(new QLabel(this))
    , version_(new QLabel(this))
    , description_(new QLabel(this))
    , disclaimer_(new QLabel(this))
    , ok_(new QPushButton(QStringLiteral("OK"), this))
    , sysInfo_(new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this))
{
    const QString appTitle = QString::fromUtf8(MessageBoxes::kTitle);
    setWindowTitle(appTitle + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    setModal(true);
    setFixedSize(420, 250);

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(ButtonArt::appIcon(48)));
    icon->setGeometry(16, 16, 48, 48);

    QFont big = font();
    big.setPointSize(app.fontSize(12));
    big.setBold(true);
    title_->setFont(big);
    title_->setText(appTitle);
    title_->setGeometry(80, 14, 320, 24);
    version_->setText(QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2").arg(3).arg(47));
    version_->setGeometry(80, 40, 320, 18);
    description_->setText(QStringLiteral("身近な草花の検索図鑑ソフトです(^^;)\n"
                                         "花の季節・色・形・葉のつき方・科から、見かけた草花を探せます。"));
    description_->setWordWrap(true);
    description_->setGeometry(80, 68, 324, 48);
    disclaimer_->setText(QStringLiteral("注意：図鑑の解説は野外で見分けるための目安です。"
                                        "草花を食べたり薬にしたりする判断には使わないでください。"
                                        "図鑑のデータと絵はこのソフトのために作ったものです。"));
    disclaimer_->setWordWrap(true);
    disclaimer_->setGeometry(16, 140, 260, 96);
    QFont small = font();
    small.setPointSize(app.fontSize(8));
    disclaimer_->setFont(small);
    ok_->setGeometry(300, 150, 104, 28);
    ok_->setDefault(true);
    sysInfo_->setGeometry(300, 196, 104, 28);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(sysInfo_, &QPushButton::clicked, this, &AboutBox::startSystemInfo);
}

void AboutBox::paintEvent(QPaintEvent*)
{
    // Two separator lines, one etched under the other.
    QPainter p(this);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(16, 128, width() - 16, 128);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(16, 129, width() - 16, 129);
}

void AboutBox::startSystemInfo()
{
    ProgramLauncher& launcher = app_.platform().programs;
    const QString program = launcher.find(sysInfoPrograms());
    if (!program.isEmpty() && launcher.start(program))
        return;
    app_.platform().messages.show(this, QString::fromUtf8(kUnavailable), MessageBoxes::Buttons::Ok,
                                  MessageBoxes::Icon::None);
}
