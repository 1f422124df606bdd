// zel: the command-line runner. Until the compiler lands it demonstrates the value API.
#include <iostream>

int main() {
  std::cout << "zel\n";
  return 0;
}
