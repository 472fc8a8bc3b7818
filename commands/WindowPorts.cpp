#include "commands/WindowPorts.h"

WindowPorts& Ports()
{
    static WindowPorts ports;
    return ports;
}
