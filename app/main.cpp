#include "app/orv_application.h"
#include "app/shell.h"

int main(int argc, char** argv) {
  OrvApplication app(argc, argv);
  Shell shell;
  shell.start();
  return app.exec();
}
