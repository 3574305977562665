#include "Executable/Linux/Application/CConverterApp.h"

int main() {
  int status = 0;
  {
    CConverterApp application;
    status = application.Run();
  }
  return status;
}
