// Demo bank generator (being written).
#include "DemoBank.h"
namespace demobank {
void generate(const QString &, const Options &) {}
}
