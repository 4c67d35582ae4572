// The window's controls, where they stand, and what start-up does before the window shows.
#include "qtrv.h"

#include "comfunct.h"
#include "indicator_shape.h"
#include "numbers.h"

#include <QComboBox>
#include <QFont>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kMakerAddress = QStringLiteral("qtrv.example");
const QString kSupportAddress = QStringLiteral("help@qtrv.example");
constexpr int kClientWidthTwips = 5370;
constexpr int kClientHeightTwips = 6540;
constexpr qint16 kHighestPort = 16;

// Positions and sizes are kept in twips, 1/1440 inch: 15 make one pixel at 96 dots per inch.
int pixels(int twips) {
    return qRound(twips / 15.0);
}

// The faces the window was drawn with, each followed by the libre faces that stand in for it
// where it is missing: a metric-compatible sans for Arial and a bold script for the decorative
// Magneto. Naming the stand-ins here spares Qt a costly search for fallbacks at start-up.
QFont boldFont(const QString& family, qreal points) {
    static const QHash<QString, QStringList> standIns{
        {QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")}},
        {QStringLiteral("MS Sans Serif"),
         {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("Magneto"),
         {QStringLiteral("Dancing Script"), QStringLiteral("URW Chancery L"),
          QStringLiteral("Z003")}}};
    QFont font;
    font.setFamilies(QStringList{family} + standIns.value(family));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// How a port box entry names its device: "/dev/ttyUSB0 (FTDI, FT232R USB UART, USB 0403:6001)".
QString describePort(const PortDevice& device) {
    return QStringLiteral("%1 (%2)").arg(device.path, device.description);
}

void place(QWidget* control, int left, int top, int width, int height, const QFont& font) {
    control->setGeometry(pixels(left), pixels(top), pixels(width), pixels(height));
    control->setFont(font);
}

QLabel* label(QWidget* parent, const QString& caption, Qt::Alignment align) {
    auto* control = new QLabel(caption, parent);
    control->setAlignment(align | Qt::AlignTop);
    control->setWordWrap(true);
    return control;
}

QLineEdit* textBox(QWidget* parent, bool enabled) {
    auto* control = new QLineEdit(parent);
    control->setAlignment(Qt::AlignCenter);
    control->setEnabled(enabled);
    return control;
}

QPushButton* button(QWidget* parent, const QString& caption, bool enabled) {
    auto* control = new QPushButton(caption, parent);
    control->setAutoDefault(false);
    control->setDefault(false);
    control->setEnabled(enabled);
    return control;
}

} // namespace

QTRV::QTRV(PortCatalogue catalogue, QWidget* parent) : QWidget(parent) {
    MSComm1 = new SerialLink(std::move(catalogue), this);
    connect(MSComm1, &SerialLink::onComm, this, &QTRV::MSComm1_OnComm);
    createControls();
    connect(bOpen, &QPushButton::clicked, this, &QTRV::bOpen_Click);
    connect(bExit, &QPushButton::clicked, this, &QTRV::bExit_Click);
    connectEditing();
    Form_Load();
}

QTRV::~QTRV() = default;

void QTRV::createControls() {
    setWindowTitle(QStringLiteral("www.") + kMakerAddress);
    setFixedSize(pixels(kClientWidthTwips), pixels(kClientHeightTwips));

    const QFont arial975 = boldFont(QStringLiteral("Arial"), 9.75);
    const QFont arial825 = boldFont(QStringLiteral("Arial"), 8.25);
    const Qt::Alignment centre = Qt::AlignHCenter;

    tLogo = label(this, kMakerAddress, centre);
    place(tLogo, 120, 240, 2655, 495, boldFont(QStringLiteral("Magneto"), 15.75));
    tTitle = label(this, QStringLiteral("Tuning Utility V2.0"), centre);
    place(tTitle, 2760, 360, 2535, 375, arial975);

    tCPort = label(this, QStringLiteral("Com Port"), centre);
    place(tCPort, 537, 1080, 1215, 330, arial975);
    pCPort = new QComboBox(this);
    pCPort->setEditable(true);
    pCPort->setInsertPolicy(QComboBox::NoInsert);
    place(pCPort, 1857, 1080, 735, 330, arial825);
    bOpen = button(this, QStringLiteral("Connect"), true);
    place(bOpen, 2817, 1080, 1215, 330, arial825);
    Shape1 = new IndicatorShape(this);
    Shape1->setGeometry(pixels(4339), pixels(1080), pixels(495), pixels(330));

    lAccel = label(this, QStringLiteral("Acceleration %"), centre);
    place(lAccel, 240, 1920, 1575, 255, arial975);
    tAccel = textBox(this, false);
    place(tAccel, 1920, 1920, 495, 285, arial975);
    lMin = label(this, QStringLiteral("Min Output %"), centre);
    place(lMin, 2880, 1920, 1455, 255, arial975);
    tMin = textBox(this, false);
    place(tMin, 4440, 1920, 495, 285, arial975);

    lDecel = label(this, QStringLiteral("Deceleration %"), centre);
    place(lDecel, 240, 2400, 1575, 255, arial975);
    tDecel = textBox(this, false);
    place(tDecel, 1920, 2400, 495, 285, arial975);
    lMax = label(this, QStringLiteral("Max Output %"), centre);
    place(lMax, 2880, 2400, 1455, 255, arial975);
    tMax = textBox(this, false);
    place(tMax, 4440, 2400, 495, 285, arial975);

    lTurn = label(this, QStringLiteral("Turning %"), centre);
    place(lTurn, 240, 2880, 1575, 255, arial975);
    tTurn = textBox(this, false);
    place(tTurn, 1920, 2880, 495, 285, arial975);
    Label2 = label(this, QStringLiteral("LFB Threshold %"), Qt::AlignLeft);
    place(Label2, 2880, 2880, 1455, 375, boldFont(QStringLiteral("MS Sans Serif"), 8.25));
    tLFB = textBox(this, true);
    place(tLFB, 4440, 2880, 495, 285, boldFont(QStringLiteral("Arial"), 9));

    bCalG = button(this, QStringLiteral("Calibrate G-Sensor"), false);
    place(bCalG, 1800, 3360, 1815, 375, arial825);
    bTPS = button(this, QStringLiteral("TPS = Normal"), false);
    place(bTPS, 600, 3840, 1815, 375, arial825);
    bEbrk = button(this, QStringLiteral("Ebrake Cut = On"), false);
    place(bEbrk, 3098, 3840, 1815, 375, arial825);
    bDef = button(this, QStringLiteral("Default"), false);
    place(bDef, 720, 4320, 855, 375, arial825);
    bSave = button(this, QStringLiteral("Save"), false);
    place(bSave, 2040, 4320, 975, 375, arial825);
    bExit = button(this, QStringLiteral("Exit"), true);
    place(bExit, 3360, 4320, 975, 375, arial825);

    tStatus = label(this, QString(), centre);
    place(tStatus, 945, 4800, 3495, 495, arial975);
    Label1 = label(this, QStringLiteral("Support: ") + kSupportAddress, centre);
    place(Label1, 720, 5640, 3975, 615, boldFont(QStringLiteral("Magneto"), 12));

    // Screen readers name each box by the caption beside it.
    for (const PercentBox& p : percentBoxes()) {
        p.box->setAccessibleName(p.caption->text());
    }
    pCPort->setAccessibleName(tCPort->text());
    Shape1->setAccessibleName(QStringLiteral("Link state"));
    tStatus->setAccessibleName(QStringLiteral("Status"));

    const QList<QWidget*> keyboardOrder{tAccel, tDecel, tTurn, bSave, bTPS,   bEbrk, tMin,
                                        tMax,   bExit,  bCalG, bOpen, pCPort, tLFB,  bDef};
    for (qsizetype i = 1; i < keyboardOrder.size(); ++i) {
        setTabOrder(keyboardOrder[i - 1], keyboardOrder[i]);
    }
    bExit->setFocus(); // the first control of the order that is enabled at creation
}

void QTRV::Form_Load() {
    tStatus->setText(QString());
    Shape1->setFillColor(kRed);
    bOpen->setEnabled(false);
    m_parameters.CalibrateG = false;
    qint16 preselection = kHighestPort + 1;
    const PortCatalogue& catalogue = MSComm1->catalogue();
    for (qint16 port = 1; port <= kHighestPort; ++port) {
        if (comfunct::ComPortExists(catalogue, port)) {
            if (port < preselection) {
                preselection = port;
            }
            pCPort->addItem(QString::number(port));
            pCPort->setItemData(pCPort->count() - 1, describePort(*catalogue.device(port)),
                                Qt::ToolTipRole);
        }
    }
    connect(pCPort, &QComboBox::editTextChanged, this, &QTRV::showPortDevice);
    pCPort->setEditText(QString::number(preselection));
    showPortDevice(pCPort->currentText());
    bOpen->setEnabled(true);
}

// The box's tooltip names the device its text stands for, so the user can tell the adapters apart.
void QTRV::showPortDevice(const QString& portText) {
    const auto number = ReadPortNumber(portText.toStdString());
    const auto device = number ? MSComm1->catalogue().device(*number) : std::nullopt;
    pCPort->setToolTip(device ? describePort(*device)
                              : QStringLiteral("No serial device has this number."));
}
