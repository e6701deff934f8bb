#include "app/ui/not_available.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kdm {

NotAvailableWindow::NotAvailableWindow(const QString& title, const QString& procedure, QWidget* parent)
    : QWidget(parent) {
  setWindowTitle(title);
  setObjectName(procedure);
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(title, this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  auto* text = new QLabel(QString::fromUtf8(kMessage), this);
  text->setWordWrap(true);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(QStringLiteral("&Zatvori"), QDialogButtonBox::RejectRole);
  close->setDefault(true);
  // The frame wraps this widget in a sub-window; closing that closes the child.
  connect(close, &QPushButton::clicked, this, [this] { (parentWidget() ? parentWidget() : this)->close(); });
  layout->addWidget(heading);
  layout->addWidget(text);
  layout->addStretch();
  layout->addWidget(buttons);
  setFocusProxy(close);
  // Wide enough that the caption and the notice show whole in a new child.
  setMinimumSize(400, 150);
}

}  // namespace kdm
