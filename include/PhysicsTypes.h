// Opaque names of the physics world and its bodies. Only game/ sees their definitions;
// everything else passes them around by pointer.
#pragma once

class b2World;
class b2Body;
