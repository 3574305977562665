#include "Platform/Framework/LFileDialog.h"

#include "Platform/Framework/LException.h"
#include "Platform/Framework/LStream.h"
#include "Platform/Framework/UModalState.h"
#include "Platform/Framework/UResources.h"
#include "Platform/Framework/UTextTraits.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGuiApplication>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <cmath>

namespace {

// The resolution the item lists are laid out at: one pixel a point.
double const nPointsPerInch = 72.0;

// The names in a name field: one, or several in quotes: "a" "b".
QStringList NamesIn(QString const& text) {
  if (!text.startsWith('"')) return QStringList(text);
  QStringList names;
  QStringList const parts = text.split('"');
  for (int i = 1; i < parts.size(); i += 2) names << parts[i];
  return names;
}

// Where one file is allowed, the toolkit's dialog still takes several names
// from the field and keeps one of them; several files under selection are
// no choice there, so Open leaves the dialog open.
class CFileDialogWidget : public QFileDialog {
public:
  explicit CFileDialogWidget(LFileDialog const& owner) : mOwner(owner) {}
  void accept() override {
    if (fileMode() == ExistingFile && mOwner.GetSelection().size() > 1) return;
    QFileDialog::accept();
  }

private:
  LFileDialog const& mOwner;
};

}  // namespace

LNavCustomArea::LNavCustomArea(NavDialogRef dialog) : mDialog(dialog) {
  setObjectName("customArea");
}

double LNavCustomArea::GetScale() const { return logicalDpiY() / nPointsPerInch; }

QRect LNavCustomArea::ToPixels(QRect const& points) const {
  double const scale = GetScale();
  auto px = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
  return QRect(px(points.x()), px(points.y()), px(points.width()), px(points.height()));
}

void LNavCustomArea::SetAreaSize(QSize const& points) {
  mSize = points;
  setFixedSize(ToPixels(QRect(QPoint(), points)).size());
}

void LNavCustomArea::AddItems(ResIDT ditlId) {
  if (!UResources::Has("dialogItems", ditlId))
    throw LException(err_NilPointer, "dialog items " + std::to_string(ditlId));
  QJsonObject const list = UResources::Find("dialogItems", ditlId);
  QJsonObject const texts = UResources::Texts("dialogItems", ditlId);
  QSize size =
      mSize.isEmpty() ? QSize(list.value("width").toInt(), list.value("height").toInt()) : mSize;
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
    if (item.control) {
      item.control->setObjectName(QString("item%1").arg(number));
      item.control->setGeometry(ToPixels(item.frame));
      item.control->show();
    }
    size = size.expandedTo(QSize(item.frame.right() + 1, item.frame.bottom() + 1));
    mItems.push_back(item);
  }
  SetAreaSize(size);
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
  return i ? ToPixels(i->frame) : QRect();
}

int16_t LNavCustomArea::FindItem(QPoint const& where) const {
  for (int16_t n = 1; n <= CountItems(); ++n)
    if (GetItemRect(n).contains(where)) return n;
  return 0;
}

QWidget* LNavCustomArea::GetItemControl(int16_t item) const {
  CItem const* i = Item(item);
  return i ? i->control : nullptr;
}

void LNavCustomArea::SetItemText(int16_t item, std::string const& text) {
  QWidget* control = GetItemControl(item);
  QString const t = QString::fromStdString(text);
  if (QLabel* label = qobject_cast<QLabel*>(control)) label->setText(t);
  if (QPushButton* button = qobject_cast<QPushButton*>(control)) button->setText(t);
}

std::string LNavCustomArea::GetItemText(int16_t item) const {
  QWidget* control = GetItemControl(item);
  if (QLabel* label = qobject_cast<QLabel*>(control)) return label->text().toStdString();
  if (QPushButton* button = qobject_cast<QPushButton*>(control))
    return button->text().toStdString();
  if (QComboBox* popup = qobject_cast<QComboBox*>(control))
    return popup->currentText().toStdString();
  return std::string();
}

void LNavCustomArea::SetItemValue(int16_t item, int32_t value) {
  if (QComboBox* popup = qobject_cast<QComboBox*>(GetItemControl(item)))
    popup->setCurrentIndex(value - 1);
}

int32_t LNavCustomArea::GetItemValue(int16_t item) const {
  QComboBox* popup = qobject_cast<QComboBox*>(GetItemControl(item));
  return popup ? popup->currentIndex() + 1 : 0;
}

void LNavCustomArea::EnableItem(int16_t item, bool enabled) {
  if (QWidget* control = GetItemControl(item)) control->setEnabled(enabled);
}

void LNavCustomArea::SetItemTextTraits(int16_t item, ResIDT traits, int justification) {
  QLabel* label = qobject_cast<QLabel*>(GetItemControl(item));
  if (!label) return;
  label->setFont(UTextTraits::GetFont(traits, label->font()));
  Qt::Alignment const h = justification < 0   ? Qt::AlignRight
                          : justification > 0 ? Qt::AlignHCenter
                                              : Qt::AlignLeft;
  label->setAlignment(h | Qt::AlignVCenter);
}

void LNavCustomArea::InvalItem(int16_t item) { update(GetItemRect(item)); }

void LNavCustomArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  mPainter = &painter;
  struct CReset {
    QPainter*& p;
    ~CReset() { p = nullptr; }
  } reset{mPainter};
  NavCBRec params;
  params.event.what = nEventUpdate;
  mDialog->Notify(nNavEvent, params);
}

void LNavCustomArea::mousePressEvent(QMouseEvent* event) {
  Pressed(event->position().toPoint(), ModifiersOf(event->modifiers()));
}

bool LNavCustomArea::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && watched == mDialog->GetDialog()) {
    NavCBRec params;
    mDialog->Notify(nNavAdjustRect, params);
  }
  return false;
}

void LNavCustomArea::Pressed(QPoint const& where, uint16_t modifiers) {
  NavCBRec params;
  params.event.what = nEventMouseDown;
  params.event.modifiers = modifiers;
  params.event.where = mapToGlobal(where);
  mDialog->Notify(nNavEvent, params);
}

LFileDialog::LFileDialog() = default;

LFileDialog::~LFileDialog() = default;

void LFileDialog::SetEventProc(NavEventProcPtr proc, void* userData) {
  mProc = proc;
  mUserData = userData;
}

void LFileDialog::AddCustomItems(ResIDT ditlId) {
  if (!mDialog || !mArea) throw LException(err_NilPointer, "file dialog not running");
  mArea->AddItems(ditlId);
}

std::vector<std::string> LFileDialog::GetSelection() const {
  return mDialog ? mSelection : std::vector<std::string>();
}

bool LFileDialog::NamedFiles(QString const& text, std::vector<std::string>& files) const {
  QStringList const names = NamesIn(text);
  QDir const folder = mDialog->directory();
  bool all = true;
  files.clear();
  for (QString const& name : names) {
    QFileInfo const info(QDir::isAbsolutePath(name) ? name : folder.filePath(name));
    all = all && info.isFile();
    files.push_back(info.absoluteFilePath().toStdString());
  }
  // Several names where one file is allowed name no single file, whether or
  // not they exist.
  bool const tooMany = files.size() > 1 && !(mOptionFlags & nAllowMultipleFiles);
  return !files.empty() && (all || tooMany);
}

std::string LFileDialog::GetLocation() const {
  return mDialog ? mDialog->directory().absolutePath().toStdString() : std::string();
}

std::string LFileDialog::GetSaveFileName() const {
  if (!mDialog) return mProposedName;
  QLineEdit const* field = mDialog->findChild<QLineEdit*>("fileNameEdit");
  if (field) return field->text().toStdString();
  QStringList const files = mDialog->selectedFiles();
  return files.isEmpty() ? std::string() : QFileInfo(files[0]).fileName().toStdString();
}

void LFileDialog::SetSaveFileName(std::string const& name) {
  mProposedName = name;
  if (!mDialog) return;
  if (QLineEdit* field = mDialog->findChild<QLineEdit*>("fileNameEdit"))
    field->setText(QString::fromStdString(name));
  else
    mDialog->selectFile(QString::fromStdString(name));
}

void LFileDialog::Notify(NavEventCallbackMessage selector, NavCBRec& params) {
  if (!mProc) return;
  params.context = this;
  params.window = mArea;
  if (mDialog) {
    if (params.selection.empty() && selector == nNavSelectEntry) params.selection = GetSelection();
    params.location = GetLocation();
  }
  CatchAndReport("file dialog", [&] { mProc(selector, &params, mUserData); });
}

void LFileDialog::Select(std::vector<std::string> const& files, bool folderChanged) {
  if (!folderChanged && files == mSelection) return;
  mSelection = files;
  NavCBRec params;
  params.selection = files;
  Notify(nNavSelectEntry, params);
}

bool LFileDialog::Run(bool save, LFileTypeList const& nameFilters) {
  mChosen.clear();
  mDialog.reset(new CFileDialogWidget(*this));
  mDialog->setOption(QFileDialog::DontUseNativeDialog, true);
  mDialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  bool const several = (mOptionFlags & nAllowMultipleFiles) != 0;
  mDialog->setFileMode(save      ? QFileDialog::AnyFile
                       : several ? QFileDialog::ExistingFiles
                                 : QFileDialog::ExistingFile);
  if (!nameFilters.empty()) {
    QStringList filters;
    for (std::string const& f : nameFilters) filters << QString::fromStdString(f);
    mDialog->setNameFilter(filters.join(' '));
  }
  if ((mOptionFlags & nSelectDefaultLocation) && !mDefaultLocation.empty())
    mDialog->setDirectory(QString::fromStdString(mDefaultLocation));
  if (save && !mProposedName.empty()) SetSaveFileName(mProposedName);

  mArea = new LNavCustomArea(this);
  mArea->setParent(mDialog.get());
  NavCBRec customize;
  Notify(nNavCustomize, customize);
  mArea->SetAreaSize(customize.customRect.size());
  // The browser keeps the room it has without the area.
  QSize const browser = mDialog->sizeHint();
  if (QGridLayout* grid = qobject_cast<QGridLayout*>(mDialog->layout()))
    grid->addWidget(mArea, grid->rowCount(), 0, 1, grid->columnCount());
  mDialog->resize(
      mDialog->sizeHint().expandedTo(QSize(browser.width(), browser.height() + mArea->height())));
  mDialog->installEventFilter(mArea);
  QLineEdit* field = mDialog->findChild<QLineEdit*>("fileNameEdit");
  mSelection.clear();
  std::vector<std::string> named;
  if (field && NamedFiles(field->text(), named)) mSelection = named;
  NavCBRec start;
  Notify(nNavStart, start);

  // The selection is what the user pointed at last: a row made current, or
  // files named in the name field (typed, completed or set by the program).
  // Rows the dialog highlights by itself while completing are no choice: it
  // leaves earlier ones highlighted. Back, Forward and a typed path change
  // the folder without entering it.
  std::vector<QMetaObject::Connection> watches;
  watches.push_back(
      QObject::connect(mDialog.get(), &QFileDialog::currentChanged, [this](QString const& path) {
        QFileInfo const info(path);
        Select(info.isFile() ? std::vector<std::string>{info.absoluteFilePath().toStdString()}
                             : std::vector<std::string>(),
               false);
      }));
  if (field)
    watches.push_back(QObject::connect(field, &QLineEdit::textChanged, [this](QString const& text) {
      std::vector<std::string> files;
      if (NamedFiles(text, files)) Select(files, false);
    }));
  auto const folder = [this] { Select(mSelection, true); };
  if (QFileSystemModel* model = mDialog->findChild<QFileSystemModel*>())
    watches.push_back(QObject::connect(model, &QFileSystemModel::rootPathChanged, folder));
  else
    watches.push_back(QObject::connect(mDialog.get(), &QFileDialog::directoryEntered, folder));

  bool const accepted = UModalState::Run(*mDialog) == QDialog::Accepted;
  for (QMetaObject::Connection const& c : watches) QObject::disconnect(c);
  if (accepted) {
    QStringList files = mDialog->selectedFiles();
    // Qt counts a row left highlighted by an earlier completion together
    // with the name typed since; the file the area described last is meant.
    if (!save && !several && files.size() > 1 && mSelection.size() == 1 &&
        files.contains(QString::fromStdString(mSelection[0])))
      files = QStringList(QString::fromStdString(mSelection[0]));
    if (save || several || files.size() == 1)
      for (QString const& f : files) mChosen.push_back(f.toStdString());
  }
  if (save && !mChosen.empty())
    mProposedName = QFileInfo(mDialog->selectedFiles()[0]).fileName().toStdString();
  NavCBRec terminate;
  Notify(nNavTerminate, terminate);
  mDialog->removeEventFilter(mArea);
  mArea = nullptr;
  mDialog.reset();
  mSelection.clear();
  return accepted && !mChosen.empty();
}

namespace UNavServicesDialogs {

bool LFileChooser::AskOpenFile(LFileTypeList const& types) { return Run(false, types); }

std::string LFileChooser::GetFilePath(int index) const {
  if (index < 1 || index > CountFiles()) return std::string();
  return mChosen[static_cast<std::size_t>(index - 1)];
}

bool LFileDesignator::AskDesignateFile(std::string const& proposedName) {
  SetSaveFileName(proposedName);
  return Run(true, {});
}

}  // namespace UNavServicesDialogs
