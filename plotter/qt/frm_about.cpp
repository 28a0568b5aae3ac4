#include "plotter/qt/frm_about.h"

#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <iterator>

#include "plotter/about/about_model.h"

namespace ondrix::qt {

namespace {

using about::Pixels;

QRect PixelRect(const about::TwipBox& box) {
    return QRect(Pixels(box.left), Pixels(box.top), Pixels(box.width), Pixels(box.height));
}

// Labels with a fixed place need a font of a fixed size, or their texts would not fit.
constexpr int kTextPixelSize = 11;
constexpr int kTitlePixelSize = 20;
constexpr int kIconPixels = 16;

QLabel* MakeLabel(QWidget* parent, about::Control control) {
    const about::ControlDesign& design = about::DesignOf(control);
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(design.name));
    label->setGeometry(PixelRect(design.box));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (design.text) label->setText(QString::fromUtf8(design.text));
    if (design.blackText) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
    return label;
}

QPushButton* MakeButton(QWidget* parent, about::Control control) {
    const about::ControlDesign& design = about::DesignOf(control);
    auto* button = new QPushButton(QString::fromUtf8(design.text), parent);
    button->setObjectName(QString::fromLatin1(design.name));
    button->setGeometry(PixelRect(design.box));
    return button;
}

// One half of the etched separator, named as in the design without the parentheses.
SeparatorLine* MakeLine(QWidget* parent, const about::LineDesign& design) {
    auto* line = new SeparatorLine(QColor(QRgb(design.color)), parent);
    line->setObjectName(QString::fromLatin1(design.name).replace('(', '_').remove(')'));
    line->setGeometry(Pixels(design.x1), Pixels(design.y),
                      Pixels(design.x2) - Pixels(design.x1) + 1, design.thickness);
    return line;
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
    setFixedSize(Pixels(about::kClientWidth), Pixels(about::kClientHeight));
    setWindowIcon(icon);

    QFont textFont = font();
    textFont.setPixelSize(kTextPixelSize);
    setFont(textFont);

    picIcon_ = MakeLabel(this, about::Control::picIcon);
    picIcon_->setAutoFillBackground(true);
    picIcon_->setBackgroundRole(QPalette::Window);
    picIcon_->setAlignment(Qt::AlignCenter);
    picIcon_->setPixmap(icon.pixmap(QSize(kIconPixels, kIconPixels), devicePixelRatioF()));

    lblTitle_ = MakeLabel(this, about::Control::lblTitle);
    QFont titleFont = textFont;
    titleFont.setPixelSize(kTitlePixelSize);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);

    Label1_ = MakeLabel(this, about::Control::Label1);
    lblVersion_ = MakeLabel(this, about::Control::lblVersion);
    lblDescription_ = MakeLabel(this, about::Control::lblDescription);
    lblDescription_->setWordWrap(true);

    Line1_1_ = MakeLine(this, about::kSeparator[0]);
    Line1_0_ = MakeLine(this, about::kSeparator[1]);

    lblDisclaimer_ = MakeLabel(this, about::Control::lblDisclaimer);
    lblDisclaimer_->setWordWrap(true);

    cmdOK_ = MakeButton(this, about::Control::cmdOK);
    cmdOK_->setDefault(true);
    cmdSysInfo_ = MakeButton(this, about::Control::cmdSysInfo);

    // Tab order by tab index; the labels and the icon only keep their places in the chain.
    QWidget* previous = nullptr;
    for (int index = 0; index < about::kControlCount; ++index) {
        for (const about::ControlDesign& design : about::kControls) {
            if (design.tabIndex != index) continue;
            QWidget* widget = findChild<QWidget*>(QString::fromLatin1(design.name));
            if (previous) setTabOrder(previous, widget);
            previous = widget;
        }
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
    setWindowTitle(QString::fromStdString(about::Caption()));
    lblVersion_->setText(QString::fromStdString(about::VersionText()));
    lblTitle_->setText(QString::fromStdString(about::TitleText()));
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

}  // namespace ondrix::qt
