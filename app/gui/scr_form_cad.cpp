// TScrForm: the CAD hand-over buttons and the three CAD settings dialogs.
#include <QAction>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "app/gui/scr_form.h"
#include "engine/engine.h"
#include "interaction/qt/beep.h"
#include "output/cad/cad_settings_dialog.h"
#include "output/cad/cad_transfer.h"

namespace kubrix::gui {

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

}  // namespace

void TScrForm::buildCad() {
  FmSetGSU7 = new cad::TFmSetGSU7(this);
  FmSetACAD = new cad::TFmSetACAD(this);
  FmSetGSU6 = new cad::TFmSetGSU6(this);
  cad_ = std::make_unique<cad::CadTransfer>([] { qt::beep(); }, [this](const QString& text) { showMessage(text); });
  connect(Button3, &QPushButton::clicked, this, &TScrForm::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TScrForm::Button4Click);
  connect(Button5, &QPushButton::clicked, this, &TScrForm::Button5Click);
  std::string why;
  if (!cad::CadTransfer::sessionAvailable(&why))
    for (QPushButton* b : {Button3, Button4, Button5}) b->setToolTip(u("CADアプリケーションへの出力には X11 のセッションが必要です。"));
}

void TScrForm::sendToCad(int target) {
  if (isRunning() || cad_->busy()) return;
  cad_->transfer(cad::kTargets[static_cast<size_t>(target)], engine_->figures, settings_, paths_.dataFolder);
}

void TScrForm::Button3Click() { sendToCad(0); }
void TScrForm::Button4Click() { sendToCad(1); }
void TScrForm::Button5Click() { sendToCad(2); }

void TScrForm::setCadOptions(cad::TFmSetCad* dialog, int target) {
  const bool acad = target == 0;
  WindowPlace& place = settings_.acadDialog;
  if (acad && place.x && place.y) {
    // The stored place, if it is on a screen.
    const QPoint p(*place.x, *place.y);
    for (QScreen* s : QGuiApplication::screens())
      if (s->availableGeometry().contains(p)) dialog->move(p);
  }
  dialog->execute(cad::cadSettings(settings_, cad::kTargets[static_cast<size_t>(target)]));
  if (acad) {
    place.x = dialog->x();
    place.y = dialog->y();
  }
}

void TScrForm::MnuSetAcadClick() { setCadOptions(FmSetACAD, 0); }
void TScrForm::MnuSetGsu6Click() { setCadOptions(FmSetGSU6, 1); }
void TScrForm::MnuSetGsu7Click() { setCadOptions(FmSetGSU7, 2); }

}  // namespace kubrix::gui
