#pragma once

#include "controller_messages.h"
#include "port_catalogue.h"
#include "save_limits.h"
#include "serial_link.h"

#include <QByteArray>
#include <QWidget>

class IndicatorShape;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The tuning window. One class; its parts live in files by concern:
//   qtrv_layout.cpp   the controls, their places and start-up (Form_Load)
//   qtrv_link.cpp     Connect, Disconnect, the port's notifications, HandleInput, Exit
//   qtrv_editing.cpp  the box and switch reactions, Default and Save
class QTRV : public QWidget {
    Q_OBJECT
  public:
    // Fill colours of Shape1, as 0x00BBGGRR.
    static constexpr quint32 kRed = 255;
    static constexpr quint32 kYellow = 65535;
    static constexpr quint32 kGreen = 65280;

    // `catalogue` says which device each port number means.
    explicit QTRV(PortCatalogue catalogue, QWidget* parent = nullptr);
    ~QTRV() override;

    const TuningParameters& parameters() const { return m_parameters; }

    // Controls, named as the tuning tool has always named them.
    QLabel* tLogo;
    QLabel* tTitle;
    QLabel* tCPort;
    QComboBox* pCPort;
    QPushButton* bOpen;
    IndicatorShape* Shape1;
    QLabel* lAccel;
    QLineEdit* tAccel;
    QLabel* lMin;
    QLineEdit* tMin;
    QLabel* lDecel;
    QLineEdit* tDecel;
    QLabel* lMax;
    QLineEdit* tMax;
    QLabel* lTurn;
    QLineEdit* tTurn;
    QLabel* Label2;
    QLineEdit* tLFB;
    QPushButton* bCalG;
    QPushButton* bTPS;
    QPushButton* bEbrk;
    QPushButton* bDef;
    QPushButton* bSave;
    QPushButton* bExit;
    QLabel* tStatus;
    QLabel* Label1;
    SerialLink* MSComm1;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // A percentage box with its caption and the range Save holds it to.
    struct PercentBox {
        QLineEdit* box;
        QLabel* caption;
        PercentRange range;
    };

    void createControls();
    void Form_Load();
    void showPortDevice(const QString& portText);

    void bOpen_Click();
    void connectLink();
    void disconnectLink();
    void showLinkDown();
    void setEditingEnabled(bool enabled);
    void MSComm1_OnComm();
    void HandleInput(const QByteArray& dRecv);
    void bExit_Click();

    void tAccel_Change();
    void tDecel_Change();
    void tTurn_Change();
    void tMax_Change();
    void tMin_Change();
    void tLFB_Change();
    void bTPS_Click();
    void bEbrk_Click();
    void bCalG_Click();
    void bDef_Click();
    void bSave_Click();
    void connectEditing();

    // The six boxes in the order Save reads them and the save command carries them.
    QList<PercentBox> percentBoxes() const;

    TuningParameters m_parameters;
    QByteArray m_received; // the text read at the latest receive notification
};
