// Runs the GUI test classes: all of them, or the one named by the first argument (the rest of the
// arguments go to Qt Test).
#include <QApplication>
#include <QTest>
#include <cstring>
#include <memory>
#include <vector>

QObject* makeWindowTest();
QObject* makeGridTest();
QObject* makeEditorTest();
QObject* makeSettingsTest();
QObject* makeDialogsTest();
QObject* makeDesktopWindowsTest();
QObject* makeInteractionTest();
QObject* makeAppPathsTest();
QObject* makeNewUserTest();
QObject* makeViewerRunTest();
QObject* makeFileMenuTest();
QObject* makeCadTest();
QObject* makeReloadTest();

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  struct Suite {
    const char* name;
    QObject* (*make)();
  };
  const Suite suites[] = {{"WindowTest", makeWindowTest},
                          {"GridTest", makeGridTest},
                          {"EditorTest", makeEditorTest},
                          {"SettingsTest", makeSettingsTest},
                          {"DialogsTest", makeDialogsTest},
                          {"DesktopWindowsTest", makeDesktopWindowsTest},
                          {"InteractionTest", makeInteractionTest},
                          {"AppPathsTest", makeAppPathsTest},
                          {"FileMenuTest", makeFileMenuTest},
                          {"CadTest", makeCadTest},
                          {"ViewerRunTest", makeViewerRunTest},
                          {"ReloadTest", makeReloadTest},
                          // last: it installs Qt's Japanese translations for the rest of the process
                          {"NewUserTest", makeNewUserTest}};
  const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
  std::vector<char*> rest{argv[0]};
  for (int i = only ? 2 : 1; i < argc; ++i) rest.push_back(argv[i]);
  int failed = 0, ran = 0;
  for (const Suite& s : suites) {
    if (only && std::strcmp(only, s.name) != 0) continue;
    std::unique_ptr<QObject> t(s.make());
    failed += QTest::qExec(t.get(), static_cast<int>(rest.size()), rest.data()) != 0;
    ++ran;
  }
  if (ran == 0) {
    fprintf(stderr, "no test class named %s\n", only);
    return 2;
  }
  return failed ? 1 : 0;
}
