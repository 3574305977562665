#include "Executable/Linux/FileDialog/CFileDialogBase.h"

#include "Platform/Framework/LException.h"
#include "Platform/Framework/UResources.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QJsonArray>
#include <QLabel>
#include <QPushButton>

namespace {

// The look of the area's label and value texts.
ResIDT const nTextTraits = 130;

void ApplyTextTraits(QLabel& label) {
  QJsonObject const traits = UResources::Find("textTraits", nTextTraits);
  QFont font = label.font();
  if (traits.value("size").toInt() > 0) font.setPointSize(traits.value("size").toInt());
  font.setBold(traits.value("bold").toBool());
  label.setFont(font);
  int const justification = traits.value("justification").toInt(-1);
  Qt::Alignment const horizontal = justification < 0   ? Qt::AlignRight
                                   : justification > 0 ? Qt::AlignHCenter
                                                       : Qt::AlignLeft;
  label.setAlignment(horizontal | Qt::AlignVCenter);
}

}  // namespace

CFileDialogBase::CFileDialogBase(ResIDT ditlId, int width, int height)
    : mDitlId(ditlId), mWidth(width), mHeight(height), mArea(), mItems() {}

CFileDialogBase::~CFileDialogBase() {}

std::string CFileDialogBase::GetByteSizeStr(unsigned long long value) {
  std::string const digits = std::to_string(value);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

void CFileDialogBase::StartCustomArea(QFileDialog& dialog) {
  if (!UResources::Has("dialogItems", mDitlId)) throw LException(err_NilPointer, "dialog items");
  QJsonObject const list = UResources::Find("dialogItems", mDitlId);
  QJsonObject const texts = UResources::Texts("dialogItems", mDitlId);
  QWidget* area = new QWidget(&dialog);
  area->setFixedSize(list.value("width").toInt(mWidth), list.value("height").toInt(mHeight));
  for (QJsonValue const& value : list.value("items").toArray()) {
    QJsonObject const item = value.toObject();
    short const id = static_cast<short>(item.value("id").toInt());
    QString text = item.value("text").toString();
    if (texts.contains(QString::number(id))) text = texts.value(QString::number(id)).toString();
    QString const type = item.value("type").toString();
    QWidget* widget = nullptr;
    if (type == "button") {
      widget = new QPushButton(text, area);
    } else if (type == "popup") {
      QComboBox* popup = new QComboBox(area);
      for (QJsonValue const& entry : item.value("items").toArray())
        popup->addItem(entry.toString());
      widget = popup;
    } else {
      QLabel* label = new QLabel(text, area);
      ApplyTextTraits(*label);
      // Values are framed, as the platform's edit-text boxes are.
      if (type == "value") label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
      widget = label;
    }
    QJsonArray const frame = item.value("frame").toArray();
    if (frame.size() == 4)
      widget->setGeometry(frame[0].toInt(), frame[1].toInt(), frame[2].toInt(), frame[3].toInt());
    widget->setObjectName(QString("item%1").arg(id));
    mItems[id] = widget;
  }
  if (QGridLayout* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addWidget(area, grid->rowCount(), 0, 1, grid->columnCount());
  else if (dialog.layout())
    dialog.layout()->addWidget(area);
  mArea = area;
}

void CFileDialogBase::EndCustomArea() {
  mItems.clear();
  mArea = nullptr;
}

QWidget* CFileDialogBase::Item(short id) const {
  auto const it = mItems.find(id);
  if (it == mItems.end() || !it->second) throw LException(err_NilPointer, "dialog item");
  return it->second;
}

void CFileDialogBase::UpdateStaticTexts(short first, short last) {
  if (!IsStarted()) return;
  for (short id = first; id <= last; ++id) {
    QLabel* label = qobject_cast<QLabel*>(Item(id));
    ThrowIfNot_(label != nullptr, "value item");
    // Shown whole when it fits, else cut with an ellipsis at its left.
    QString const text = QString::fromStdString(GetStaticText(id));
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideLeft, label->width() - 10));
    label->setToolTip(text);
  }
}
