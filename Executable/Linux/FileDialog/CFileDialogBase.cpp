#include "Executable/Linux/FileDialog/CFileDialogBase.h"

#include "Platform/Framework/LException.h"
#include "Platform/Framework/LStream.h"
#include "Platform/Framework/UResources.h"
#include "Platform/Framework/UTextDrawing.h"
#include "Platform/Framework/UTextTraits.h"

#include <QFontMetrics>
#include <QJsonArray>
#include <QPainter>
#include <QStyleOptionFrame>

namespace {

// Values sit on the lightest grey, as the platform's edit-text boxes do.
QColor const kValueBackground(0xEE, 0xEE, 0xEE);
int const nRightJustified = -1;
// An OS event (suspend or resume when its message's high byte is 1).
uint16_t const nEventOS = 15;

}  // namespace

CFileDialogBase::CFileDialogBase(short ditlId, short width, short height)
    : mDitlLoaded(false), mDitlId(ditlId), mHeight(height), mWidth(width) {}

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

std::string CFileDialogBase::GetLabelText(short id) const {
  QJsonObject const texts = UResources::Texts("dialogItems", mDitlId);
  for (QJsonValue const& v : UResources::Find("dialogItems", mDitlId).value("items").toArray()) {
    LStream const item(v.toObject(), texts);
    if (item.PaneId() == id && item.String("type") == "label") return item.Text().toStdString();
  }
  return std::string();
}

void CFileDialogBase::NavEventProc(NavEventCallbackMessage selector, NavCBRec* params,
                                   void* userData) {
  CFileDialogBase* self = static_cast<CFileDialogBase*>(userData);
  if (!self || !params || !params->window) return;
  // Nothing may cross into the dialog; what fails leaves the texts as they were.
  try {
    if (selector == nNavEvent)
      self->HandleMacEvent(params->context, params->window, &params->event);
    else
      self->HandleNavEvent(params->context, params->window, selector, params);
  } catch (...) {
  }
}

void CFileDialogBase::HandleMacEvent(NavDialogRef context, DialogRef dialog, EventRecord* event) {
  if (event->what == nEventOS && (event->message >> 24) == 1) return;
  if (event->what == nEventUpdate)
    HandleUpdate(context, dialog, event);
  else if (event->what == nEventMouseDown)
    HandleMouseDown(context, dialog, event);
  // The toolkit's own loop serves the other windows meanwhile.
}

void CFileDialogBase::HandleUpdate(NavDialogRef, DialogRef, EventRecord*) {}

void CFileDialogBase::HandleMouseDown(NavDialogRef, DialogRef, EventRecord*) {}

void CFileDialogBase::HandleNavEvent(NavDialogRef context, DialogRef,
                                     NavEventCallbackMessage selector, NavCBRec* params) {
  switch (selector) {
    case nNavStart:
      context->AddCustomItems(mDitlId);
      mDitlLoaded = true;
      break;
    case nNavTerminate:
      mDitlLoaded = false;
      break;
    case nNavCustomize:
      if (params->customRect.width() == 0) params->customRect.setWidth(mWidth);
      if (params->customRect.height() == 0) params->customRect.setHeight(mHeight);
      break;
    default:
      break;
  }
}

void CFileDialogBase::InitMacStaticTexts(NavDialogRef context, DialogRef dialog, short first,
                                         short last) {
  for (short id = first; id <= last; ++id)
    InitMacStaticText(context, dialog, id, GetStaticText(id));
}

void CFileDialogBase::InitMacStaticText(NavDialogRef, DialogRef dialog, short id,
                                        std::string const& text) {
  ThrowIfNot_(dialog->GetItemType(id) == 7, "static text item");
  dialog->SetItemTextTraits(id, nTextTraits, nRightJustified);
  dialog->SetItemText(id, text);
}

void CFileDialogBase::UpdateStaticTexts(NavDialogRef, DialogRef dialog, short first, short last) {
  if (!IsStarted()) return;
  // Drawn by the next update, which the toolkit sends at once.
  for (short id = first; id <= last; ++id) dialog->InvalItem(id);
}

void CFileDialogBase::DrawStaticTexts(NavDialogRef context, DialogRef dialog, short first,
                                      short last) {
  if (!IsStarted()) return;
  QPainter* painter = dialog->GetPainter();
  if (!painter) return UpdateStaticTexts(context, dialog, first, last);
  painter->save();
  painter->setRenderHint(QPainter::TextAntialiasing, true);
  for (short id = first; id <= last; ++id)
    Draw1StaticText(context, dialog, id, GetStaticText(id), true);
  painter->restore();
}

void CFileDialogBase::Draw1StaticText(NavDialogRef, DialogRef dialog, short id,
                                      std::string const& text, bool framed) {
  QPainter* painter = dialog->GetPainter();
  if (dialog->GetItemType(id) != 0 || !painter) return;  // controls draw themselves
  QRect const item = dialog->GetItemRect(id);
  painter->save();
  if (framed) {
    painter->fillRect(item.adjusted(1, 1, -1, -1), kValueBackground);
    QStyleOptionFrame frame;
    frame.initFrom(dialog);
    frame.rect = item;
    frame.lineWidth = 1;
    frame.state |= QStyle::State_Sunken | QStyle::State_Active;
    dialog->style()->drawPrimitive(QStyle::PE_FrameLineEdit, &frame, painter, dialog);
  } else {
    painter->eraseRect(item);
  }
  painter->setFont(UTextTraits::GetFont(nTextTraits, dialog->font()));
  painter->setPen(Qt::black);
  QFontMetrics const metrics(painter->font());
  int const top = item.top() + (item.height() - metrics.ascent()) / 2 - 1;
  QRect const box(QPoint(item.left() + 5, top),
                  QPoint(item.right() - 5, top + metrics.ascent() + metrics.descent()));
  UTextDrawing::DrawTruncatedWithJust(*painter, QString::fromStdString(text), box, nRightJustified);
  painter->restore();
}
