#include "frontend/host_entry.h"

int main() { return tavir::hostEntry(); }
