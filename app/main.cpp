#include "runtime/application.h"
#include "ui/form1.h"

int main(int argc, char **argv) {
    return runtime::run(argc, argv, ui::application);
}
