#include <iostream>
#include <quarnel/quarnel.hpp>

int main() {
  quarnel::AStringList fields;
  fields.split("a,b", ',');
  std::cout << fields.at(1) << '\n';
  return fields.size() == 2 && fields[1] == "b" ? 0 : 1;
}
