#include "plotter/qt/frm_about.h"

#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <iterator>

#include "ondrix/version.h"

namespace ondrix {

namespace {

// The dialog's geometry is laid out in twips; 15 twips make one pixel.
constexpr int Px(int twips) {
    return twips / 15;
}

QRect TwipRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

// Labels with a fixed place need a font of a fixed size, or their texts would not fit.
constexpr int kTextPixelSize = 11;
constexpr int kTitlePixelSize = 20;

void SetBlackText(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& rect) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

SeparatorLine::SeparatorLine(const QColor& color, QWidget* parent)
    : QWidget(parent), color_(color) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SeparatorLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), color_);
}

frmAbout::frmAbout(const QIcon& icon, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      systemLookup_(MakeSystemKeyLookup()) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(kClientWidth, kClientHeight);
    setWindowIcon(icon);

    QFont textFont = font();
    textFont.setPixelSize(kTextPixelSize);
    setFont(textFont);

    picIcon_ = MakeLabel(this, "picIcon", TwipRect(240, 240, 270, 270));
    picIcon_->setAutoFillBackground(true);
    picIcon_->setBackgroundRole(QPalette::Window);
    picIcon_->setAlignment(Qt::AlignCenter);
    picIcon_->setPixmap(icon.pixmap(QSize(16, 16), devicePixelRatioF()));

    lblTitle_ = MakeLabel(this, "lblTitle", TwipRect(1050, 240, 1725, 480));
    QFont titleFont = textFont;
    titleFont.setPixelSize(kTitlePixelSize);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);
    SetBlackText(lblTitle_);

    Label1_ = MakeLabel(this, "Label1", TwipRect(1080, 600, 1935, 255));
    Label1_->setText(QStringLiteral("By the Ondrix team"));

    lblVersion_ = MakeLabel(this, "lblVersion", TwipRect(1050, 960, 3885, 225));

    lblDescription_ = MakeLabel(this, "lblDescription", TwipRect(1080, 1410, 3885, 885));
    lblDescription_->setWordWrap(true);
    lblDescription_->setText(
        QStringLiteral("use abs(x), sin(x), log(x), mod(x), fix(x), int(x), tan(x) functions, "
                       "other examples: x^2, x/4, pi, 1/sin(x) e t.c."));
    SetBlackText(lblDescription_);

    // The etched separator: a grey line from (90, 2445) to (5654, 2445) and a white line two
    // pixels thick below it from (105, 2460) to (5654, 2460).
    Line1_1_ = new SeparatorLine(QColor(128, 128, 128), this);
    Line1_1_->setObjectName(QStringLiteral("Line1_1"));
    Line1_1_->setGeometry(Px(90), Px(2445), Px(5654) - Px(90) + 1, 1);
    Line1_0_ = new SeparatorLine(Qt::white, this);
    Line1_0_->setObjectName(QStringLiteral("Line1_0"));
    Line1_0_->setGeometry(Px(105), Px(2460), Px(5654) - Px(105) + 1, 2);

    lblDisclaimer_ = MakeLabel(this, "lblDisclaimer", TwipRect(255, 2625, 3870, 825));
    lblDisclaimer_->setWordWrap(true);
    lblDisclaimer_->setText(QStringLiteral("Warning: use on own risk"));
    SetBlackText(lblDisclaimer_);

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(TwipRect(4245, 2625, 1260, 345));
    cmdOK_->setDefault(true);

    cmdSysInfo_ = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo_->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo_->setGeometry(TwipRect(4260, 3075, 1245, 345));

    // Tab order by tab index; the labels and the icon only keep their places in the chain.
    QWidget* const tabOrder[] = {cmdOK_,         picIcon_,  cmdSysInfo_, lblDescription_,
                                 lblDisclaimer_, lblTitle_, lblVersion_, Label1_};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    cmdOK_->setFocus();

    connect(cmdOK_, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo_, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    deps_.lookup = systemLookup_.get();
    deps_.fileExists = PlainFileExists;
    deps_.launch = [](const std::string& program) {
        return QProcess::startDetached(QString::fromLocal8Bit(program));
    };
    deps_.showMessage = [this](const std::string& text, const std::string& caption) {
        QMessageBox box(QMessageBox::NoIcon, QString::fromLocal8Bit(caption),
                        QString::fromLocal8Bit(text), QMessageBox::Ok, this);
        box.exec();
    };

    Form_Load();
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load() {
    const QString title = QString::fromUtf8(kTitle);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion_->setText(QStringLiteral("Version %1.%2.%3")
                             .arg(kVersionMajor)
                             .arg(kVersionMinor)
                             .arg(kVersionRevision));
    lblTitle_->setText(title);
}

void frmAbout::cmdOK_Click() {
    close();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    ondrix::StartSysInfo(deps_);
}

void frmAbout::SetSysInfoDeps(const SysInfoDeps& deps) {
    if (deps.lookup) deps_.lookup = deps.lookup;
    if (deps.fileExists) deps_.fileExists = deps.fileExists;
    if (deps.launch) deps_.launch = deps.launch;
    if (deps.showMessage) deps_.showMessage = deps.showMessage;
}

frmAbout* ShowAbout(const QWidget* owner, QPointer<frmAbout>& instance, const QIcon& icon) {
    if (!instance) {
        instance = new frmAbout(icon);
        if (owner) {
            QRect place(QPoint(0, 0), instance->frameGeometry().size());
            place.moveCenter(owner->frameGeometry().center());
            instance->move(place.topLeft());
        }
    }
    instance->setWindowState(instance->windowState() & ~Qt::WindowMinimized);
    instance->show();
    instance->raise();
    instance->activateWindow();
    return instance;
}

}  // namespace ondrix
