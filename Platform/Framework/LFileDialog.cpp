#include "Platform/Framework/LFileDialog.h"

#include "Platform/Framework/LException.h"
#include "Platform/Framework/LStream.h"
#include "Platform/Framework/UModalState.h"
#include "Platform/Framework/UResources.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QJsonArray>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

LNavCustomArea::LNavCustomArea(LFileDialog* dialog, ResIDT ditlId) : mDialog(dialog) {
  QJsonObject const list = UResources::Find("dialogItems", ditlId);
  QJsonObject const texts = UResources::Texts("dialogItems", ditlId);
  setFixedSize(list.value("width").toInt(), list.value("height").toInt());
  for (QJsonValue const& v : list.value("items").toArray()) {
    LStream stream(v.toObject(), texts);
    QString const type = stream.String("type");
    CItem item{0, stream.Frame(), nullptr};
    int16_t const number = static_cast<int16_t>(mItems.size() + 1);
    if (type == "label") {
      item.type = 7;
      item.control = new QLabel(stream.Text(), this);
    } else if (type == "button") {
      item.type = 4;
      QPushButton* button = new QPushButton(stream.Text(), this);
      button->setAutoDefault(false);
      QObject::connect(button, &QPushButton::clicked, [this, number] {
        Pressed(GetItemRect(number).center(), ModifiersOf(QGuiApplication::keyboardModifiers()));
      });
      item.control = button;
    } else if (type == "popup") {
      item.type = 7;
      QComboBox* popup = new QComboBox(this);
      for (QJsonValue const& text : v.toObject().value("items").toArray())
        popup->addItem(text.toString());
      QObject::connect(popup, QOverload<int>::of(&QComboBox::activated), [this, number] {
        Pressed(GetItemRect(number).center(), ModifiersOf(QGuiApplication::keyboardModifiers()));
      });
      item.control = popup;
    }
    if (item.control) item.control->setGeometry(item.frame);
    mItems.push_back(item);
  }
}

LNavCustomArea::CItem const* LNavCustomArea::Item(int16_t item) const {
  if (item < 1 || item > CountItems()) return nullptr;
  return &mItems[static_cast<std::size_t>(item - 1)];
}

int16_t LNavCustomArea::GetItemType(int16_t item) const {
  CItem const* i = Item(item);
  return i ? i->type : -1;
}

QRect LNavCustomArea::GetItemRect(int16_t item) const {
  CItem const* i = Item(item);
  return i ? i->frame : QRect();
}

int16_t LNavCustomArea::FindItem(QPoint const& where) const {
  for (int16_t n = 1; n <= CountItems(); ++n)
    if (GetItemRect(n).contains(where)) return n;
  return 0;
}

void LNavCustomArea::SetItemText(int16_t item, std::string const& text) {
  CItem const* i = Item(item);
  if (!i || !i->control) return;
  QString const t = QString::fromStdString(text);
  if (QLabel* label = qobject_cast<QLabel*>(i->control)) label->setText(t);
  if (QPushButton* button = qobject_cast<QPushButton*>(i->control)) button->setText(t);
}

std::string LNavCustomArea::GetItemText(int16_t item) const {
  CItem const* i = Item(item);
  if (!i || !i->control) return std::string();
  if (QLabel* label = qobject_cast<QLabel*>(i->control)) return label->text().toStdString();
  if (QPushButton* button = qobject_cast<QPushButton*>(i->control))
    return button->text().toStdString();
  if (QComboBox* popup = qobject_cast<QComboBox*>(i->control))
    return popup->currentText().toStdString();
  return std::string();
}

void LNavCustomArea::SetItemValue(int16_t item, int32_t value) {
  CItem const* i = Item(item);
  if (QComboBox* popup = i ? qobject_cast<QComboBox*>(i->control) : nullptr)
    popup->setCurrentIndex(value - 1);
}

int32_t LNavCustomArea::GetItemValue(int16_t item) const {
  CItem const* i = Item(item);
  QComboBox* popup = i ? qobject_cast<QComboBox*>(i->control) : nullptr;
  return popup ? popup->currentIndex() + 1 : 0;
}

void LNavCustomArea::EnableItem(int16_t item, bool enabled) {
  CItem const* i = Item(item);
  if (i && i->control) i->control->setEnabled(enabled);
}

void LNavCustomArea::SetItemTextStyle(int16_t item, int pointSize, bool bold, int justification) {
  CItem const* i = Item(item);
  QLabel* label = i ? qobject_cast<QLabel*>(i->control) : nullptr;
  if (!label) return;
  QFont font = label->font();
  if (pointSize > 0) font.setPointSize(pointSize);
  font.setBold(bold);
  label->setFont(font);
  Qt::Alignment const h = justification < 0   ? Qt::AlignRight
                          : justification > 0 ? Qt::AlignHCenter
                                              : Qt::AlignLeft;
  label->setAlignment(h | Qt::AlignVCenter);
}

void LNavCustomArea::InvalItem(int16_t item) { update(GetItemRect(item)); }

void LNavCustomArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  NavCBRec params;
  params.event.what = nEventUpdate;
  params.painter = &painter;
  mDialog->Notify(nNavEvent, params);
}

void LNavCustomArea::mousePressEvent(QMouseEvent* event) {
  Pressed(event->position().toPoint(), ModifiersOf(event->modifiers()));
}

void LNavCustomArea::Pressed(QPoint const& where, uint16_t modifiers) {
  NavCBRec params;
  params.event.what = nEventMouseDown;
  params.event.modifiers = modifiers;
  params.where = where;
  mDialog->Notify(nNavEvent, params);
}

LFileDialog::LFileDialog() = default;

LFileDialog::~LFileDialog() = default;

void LFileDialog::SetEventProc(NavEventProcPtr proc, void* userData) {
  mProc = proc;
  mUserData = userData;
}

void LFileDialog::AddCustomItems(ResIDT ditlId) {
  if (!mDialog) throw LException(err_NilPointer, "file dialog not running");
  if (!UResources::Has("dialogItems", ditlId))
    throw LException(err_NilPointer, "dialog items " + std::to_string(ditlId));
  delete mArea;
  mArea = new LNavCustomArea(this, ditlId);
  QGridLayout* grid = qobject_cast<QGridLayout*>(mDialog->layout());
  if (grid)
    grid->addWidget(mArea, grid->rowCount(), 0, 1, grid->columnCount());
  else
    mArea->setParent(mDialog.get());
  mArea->show();
}

std::vector<std::string> LFileDialog::GetSelection() const {
  std::vector<std::string> files;
  if (!mDialog) return files;
  for (QString const& f : mDialog->selectedFiles())
    if (QFileInfo(f).isFile()) files.push_back(f.toStdString());
  return files;
}

std::string LFileDialog::GetLocation() const {
  return mDialog ? mDialog->directory().absolutePath().toStdString() : std::string();
}

std::string LFileDialog::GetSaveFileName() const {
  if (!mDialog) return mProposedName;
  QStringList const files = mDialog->selectedFiles();
  return files.isEmpty() ? std::string() : QFileInfo(files[0]).fileName().toStdString();
}

void LFileDialog::SetSaveFileName(std::string const& name) {
  mProposedName = name;
  if (mDialog) mDialog->selectFile(QString::fromStdString(name));
}

void LFileDialog::Notify(int32_t selector, NavCBRec& params) {
  if (!mProc) return;
  params.context = this;
  if (mDialog) {
    if (params.selection.empty() && selector == nNavSelectEntry) params.selection = GetSelection();
    params.location = GetLocation();
  }
  CatchAndReport("file dialog", [&] { mProc(selector, &params, mUserData); });
}

bool LFileDialog::Run(bool save, std::vector<std::string> const& nameFilters) {
  mChosen.clear();
  mLastSelection.clear();
  mDialog.reset(new QFileDialog);
  mDialog->setOption(QFileDialog::DontUseNativeDialog, true);
  mDialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  mDialog->setFileMode(save                                   ? QFileDialog::AnyFile
                       : (mOptionFlags & nAllowMultipleFiles) ? QFileDialog::ExistingFiles
                                                              : QFileDialog::ExistingFile);
  if (!nameFilters.empty()) {
    QStringList filters;
    for (std::string const& f : nameFilters) filters << QString::fromStdString(f);
    mDialog->setNameFilter(filters.join(' '));
  }
  if ((mOptionFlags & nSelectDefaultLocation) && !mDefaultLocation.empty())
    mDialog->setDirectory(QString::fromStdString(mDefaultLocation));
  if (save && !mProposedName.empty()) mDialog->selectFile(QString::fromStdString(mProposedName));

  NavCBRec customize;
  Notify(nNavCustomize, customize);
  NavCBRec start;
  Notify(nNavStart, start);
  // The dialog's views tell every change of the selection, also one made by
  // the program; the dialog's own signal misses those.
  auto selectionChanged = [this] {
    std::vector<std::string> const now = GetSelection();
    if (now == mLastSelection) return;
    mLastSelection = now;
    NavCBRec params;
    params.selection = now;
    Notify(nNavSelectEntry, params);
  };
  for (QAbstractItemView* view : mDialog->findChildren<QAbstractItemView*>())
    if (view->selectionModel())
      QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged,
                       selectionChanged);
  QObject::connect(mDialog.get(), &QFileDialog::currentChanged, selectionChanged);
  QObject::connect(mDialog.get(), &QFileDialog::directoryEntered, [this](QString const&) {
    mLastSelection.clear();
    NavCBRec params;
    Notify(nNavSelectEntry, params);
  });

  bool const accepted = UModalState::Run(*mDialog) == QDialog::Accepted;
  if (accepted)
    for (QString const& f : mDialog->selectedFiles()) mChosen.push_back(f.toStdString());
  if (save && !mChosen.empty())
    mProposedName = QFileInfo(mDialog->selectedFiles()[0]).fileName().toStdString();
  NavCBRec terminate;
  Notify(nNavTerminate, terminate);
  mArea = nullptr;
  mDialog.reset();
  return accepted && !mChosen.empty();
}

bool LFileChooser::AskOpenFile(std::vector<std::string> const& filters) {
  return Run(false, filters);
}

std::string LFileChooser::GetFilePath(int index) const {
  if (index < 1 || index > CountFiles()) return std::string();
  return mChosen[static_cast<std::size_t>(index - 1)];
}

bool LFileDesignator::AskDesignateFile(std::string const& proposedName) {
  SetSaveFileName(proposedName);
  return Run(true, {});
}
