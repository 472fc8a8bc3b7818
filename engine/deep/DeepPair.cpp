#include "engine/deep/DeepPair.h"

#include "engine/deep/DeepBla.h"

std::vector<DeepGate> DeepGates(const BlaTable* table, size_t points)
{
    std::vector<DeepGate> gates(points);
    for (size_t m = 0; m < points; ++m) {
        DeepGate& g = gates[m];
        g.radius = table ? table->StartRadius(m) : 0.0L;
        g.threshold = g.radius > kProductsUnderflow ? g.radius : kProductsUnderflow;
    }
    return gates;
}
