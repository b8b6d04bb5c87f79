/* The USB vendor and product IDs of the programming cable. The cable's udev
 * rule (60-vrm650t-cable.rules) lists the same pairs; PIPELINK_DEVICE=vvvv:pppp
 * replaces the table for one run. */
#ifndef VRM_PIPELINK_CABLE_IDS_H
#define VRM_PIPELINK_CABLE_IDS_H

#include <stdint.h>

typedef struct PipelinkCableId {
    uint16_t vendor;
    uint16_t product;
} PipelinkCableId;

static const PipelinkCableId kPipelinkCableIds[] = {
    {0x1209u, 0x650Au}, /* VRM-650T programming cable */
    {0x1209u, 0x650Bu}, /* VRM-650T programming cable, second revision */
};

#define PIPELINK_CABLE_ID_COUNT (sizeof kPipelinkCableIds / sizeof kPipelinkCableIds[0])

#endif
