// The layout both tables share: their content above a bottom row of the "更新" button (Panel1) and
// the status bar (StatusBar1).
#pragma once

#include <QHBoxLayout>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace kubrix {

struct RefreshBar {
  QPushButton* button;
  QStatusBar* bar;
};

inline RefreshBar layOutWithRefreshBar(QWidget* owner, QWidget* content) {
  auto* button = new QPushButton(QStringLiteral("更新"), owner);
  button->setObjectName(QStringLiteral("Panel1"));
  auto* bar = new QStatusBar(owner);
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(true);
  auto* bottom = new QHBoxLayout;
  bottom->setContentsMargins(0, 0, 0, 0);
  bottom->addWidget(button);
  bottom->addWidget(bar, 1);
  auto* column = new QVBoxLayout(owner);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(content, 1);
  column->addLayout(bottom);
  return {button, bar};
}

}  // namespace kubrix
