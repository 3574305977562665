#include "Executable/Linux/Application/CConverterApp.h"

#include "Executable/Com/Controller/CDomain.h"
#include "Executable/Com/Controller/CStringResources.h"
#include "Executable/Linux/Application/CBundleIconView.h"
#include "Executable/Linux/MainWindow/CMainWindow.h"
#include "Executable/Linux/MainWindow/CVolumePopup.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "Platform/Framework/LException.h"
#include "Platform/Framework/URegistrar.h"
#include "Platform/Framework/UResources.h"
#include "UL/Linux/Bitmap/CStateBitmapFactory.h"
#include "UL/Linux/Dialog/StCarbonDialogHandler.h"
#include "UL/Linux/Progress/CProgressBar.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

#ifndef VQ7_VERSION
#define VQ7_VERSION "0"
#endif

namespace {

PaneIDT const nIconPane = FourChar("ICON");
PaneIDT const nVersionPane = FourChar("VERS");
char const* const nBuildNumber = "1010";

}  // namespace

CConverterApp::CConverterApp()
    : CConverterApp(boost::shared_ptr<VQ7::CDomain>(), GT::GetModuleDirectoryNameX()) {}

CConverterApp::CConverterApp(boost::shared_ptr<VQ7::CDomain> domain, std::string const& folder)
    : mDomain(domain), mFolder(folder), mHelpItem(0) {
  RegisterClasses();
}

CConverterApp::~CConverterApp() {
  // The window goes first: its position is written before the domain's
  // preferences.
  for (LWindow* window : std::vector<LWindow*>(LWindow::GetWindows()))
    if (dynamic_cast<CMainWindow*>(window)) {
      delete window;
      break;
    }
  if (mDomain) mDomain->Finalize();
  mDomain.reset();
}

void CConverterApp::RegisterClasses() {
  URegistrar::RegisterClass<CMainWindow>(CMainWindow::class_ID);
  URegistrar::RegisterClass<CVolumePopup>(CVolumePopup::class_ID);
  URegistrar::RegisterClass<CBundleIconView>(CBundleIconView::class_ID);
}

std::vector<UReanimator::SRequiredWindow> CConverterApp::RequiredWindows() const {
  UReanimator::SRequiredWindow const about = {nAboutBox,
                                              0,
                                              {{nIconPane, UReanimator::IsA<CBundleIconView>()},
                                               {nVersionPane, UReanimator::IsA<LPane>()}}};
  return {CMainWindow::RequiredWindow(nMainWindow), about, UL::CProgressBar::RequiredWindow()};
}

void CConverterApp::Initialize() {
  // The toolkit learns which bundle identifier names this program.
  GT::SetModuleIdentifier(UResources::ApplicationIdentifier());
  // The domain reads its string lists (the language) from the resource file.
  VQ7::CStringResources::SetLookup(
      [](int list, int index) { return UResources::GetIndString(list, index); });
  if (!mDomain) mDomain.reset(new VQ7::CDomain);
  {
    UL::CStateBitmapFactory factory(mFolder + "/Bitmap/");
    mDomain->Initialize(factory);
  }
  mHelpItem = AppendHelpMenuItem(UResources::GetIndString(nHelpStrings, 1));
  CMainWindow* window = dynamic_cast<CMainWindow*>(LWindow::CreateWindow(nMainWindow, this));
  ThrowIfNil_(window, "main window");
  window->Initialize(mDomain.get());
  window->Show();
}

bool CConverterApp::ObeyCommand(CommandT command, void* parameter) {
  if (mHelpItem != 0 && command == HelpItemCommand(mHelpItem)) {
    OpenHelp();
    return true;
  }
  return LCarbonApp::ObeyCommand(command, parameter);
}

std::string CConverterApp::HelpPath() const {
  std::string const name = UResources::GetIndString(nHelpStrings, 2);
  return name.empty() ? std::string() : mFolder + "/" + name;
}

void CConverterApp::OpenHelp() {
  // A missing document does nothing: there is nothing the user could do.
  std::string const path = HelpPath();
  if (path.empty() || !QFileInfo(QString::fromStdString(path)).isFile()) return;
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

std::string CConverterApp::VersionText(bool controlHeld) {
  std::string text = VQ7_VERSION;
  if (controlHeld) text += std::string(" (") + nBuildNumber + ")";
  return text;
}

void CConverterApp::SetVersionCaption(LWindow* window) {
  LPane* caption = ThrowIfNil_(window ? window->FindPaneByID(nVersionPane) : nullptr, "version");
  bool const control = (QGuiApplication::queryKeyboardModifiers() & Qt::MetaModifier) != 0;
  caption->SetDescriptor(caption->GetDescriptor() + VersionText(control));
}

void CConverterApp::ShowAboutBox() {
  StCarbonDialogHandler handler(nAboutBox, this);
  LWindow* box = ThrowIfNil_(handler.GetDialog(), "about box");
  CBundleIconView* icon = FindPaneByIDAs<CBundleIconView>(box, nIconPane);
  icon->SetFolder(mFolder);  // where the pads' pictures come from
  icon->LoadBundleIcnsFile("App.icns", false);
  SetVersionCaption(box);
  box->Show();
  while (handler.DoDialog() != nAboutOk && LWindow::Exists(box)) {
  }
}
