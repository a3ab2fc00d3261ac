#include "server/velmora-server/serverapp.h"

int main(int argc, char** argv) { return velmora::server::RunServer(argc, argv); }
