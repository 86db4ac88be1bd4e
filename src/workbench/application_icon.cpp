#include "workbench/application_icon.h"

#include <QString>

// The resource lives in this static library and nothing else refers to it,
// so the linker keeps it only through this call. Q_INIT_RESOURCE declares
// the resource's function where it stands: it must not be in a namespace.
static void LoadIconResource() {
  Q_INIT_RESOURCE(workbench_icons);
}

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

}  // namespace

QIcon WorkbenchIcon() {
  LoadIconResource();
  QIcon icon;
  for (const int size : kIconSizes)
    icon.addFile(QStringLiteral(":/icons/qrx-workbench-%1.png").arg(size), QSize(size, size));
  return icon;
}
