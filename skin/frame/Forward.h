#pragma once
// The frame layer's classes, declared for headers that only name them.
class TsSkinProvider;
class TacGlowEffect;
