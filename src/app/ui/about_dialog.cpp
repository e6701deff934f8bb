#include "app/ui/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include "app/ui/resources.h"

namespace kdm {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  loadResources();
  setObjectName(QStringLiteral("AboutProgram"));
  setWindowTitle(QString::fromUtf8(kCaption));
  auto* outer = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* picture = new QLabel(this);
  picture->setPixmap(QPixmap(QStringLiteral(":/kdm/kdm_large.png")).scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  picture->setAccessibleName(QStringLiteral("Obrazac K-Dm"));
  picture->setAlignment(Qt::AlignTop);
  row->addWidget(picture);
  auto* texts = new QVBoxLayout;
  QStringList all;
  for (const char* t : kTexts) {
    auto* label = new QLabel(QString::fromUtf8(t), this);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    texts->addWidget(label);
    all << label->text();
  }
  texts->addStretch();
  row->addLayout(texts, 1);
  outer->addLayout(row);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  outer->addWidget(buttons);
  setAccessibleDescription(all.join(QLatin1Char(' ')));
}

}  // namespace kdm
