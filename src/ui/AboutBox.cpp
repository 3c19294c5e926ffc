#include "ui/AboutBox.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "catalogue/StatusTexts.h"
#include "catalogue/Version.h"
#include "ui/Artwork.h"

namespace tonvault::ui {

namespace {
QLabel* Panel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(Qt::AlignCenter);
  label->setMargin(4);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}
}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(" Info");
  auto* layout = new QVBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setPixmap(ProgramPicture(QSize(360, 160)));
  picture->setAlignment(Qt::AlignCenter);
  layout->addWidget(picture);

  titlePanel_ = Panel(QString("%1   %2").arg(catalogue::kProgramTitle,
                                            QString::fromStdString(catalogue::ProgramVersionText())),
                      this);
  layout->addWidget(titlePanel_);
  layout->addWidget(Panel(QString::fromStdString(catalogue::LegalNotice()), this));
  layout->addWidget(Panel(QString::fromStdString(catalogue::ContactAddress()), this));

  auto* buttons = new QHBoxLayout;
  playerLibraryButton_ = new QPushButton("About  JBDirect", this);
  playerLibraryButton_->setEnabled(false);
  playerLibraryButton_->setToolTip("The player library is not available in this version.");
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  buttons->addWidget(playerLibraryButton_);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  layout->addLayout(buttons);
}

}  // namespace tonvault::ui
