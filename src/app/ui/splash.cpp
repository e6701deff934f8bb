#include "app/ui/splash.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>
#include "app/ui/resources.h"

namespace kdm {

Splash::Splash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), timer_(new QTimer(this)) {
  loadResources();
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("Logo"));
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  p.setColor(QPalette::WindowText, QColor(0x1d, 0x4f, 0x91));
  setPalette(p);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(32, 24, 32, 24);
  auto* picture = new QLabel(this);
  picture->setPixmap(QPixmap(QStringLiteral(":/kdm/kdm_large.png")).scaled(160, 160, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  picture->setAlignment(Qt::AlignCenter);
  picture->setAccessibleName(QStringLiteral("Obrazac K-Dm"));
  auto* text = new QLabel(QString::fromUtf8(kText), this);
  text->setAlignment(Qt::AlignCenter);
  QFont f = text->font();
  f.setPointSizeF(f.pointSizeF() * 1.2);
  f.setBold(true);
  text->setFont(f);
  layout->addWidget(picture);
  layout->addWidget(text);
  setAccessibleName(text->text());
  timer_->setSingleShot(true);
  timer_->setInterval(kTimeoutMs);
  connect(timer_, &QTimer::timeout, this, &QWidget::close);
  timer_->start();
}

void Splash::mousePressEvent(QMouseEvent*) { close(); }
void Splash::mouseDoubleClickEvent(QMouseEvent*) { close(); }

bool Splash::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) close();
  return QWidget::event(event);
}

}  // namespace kdm
