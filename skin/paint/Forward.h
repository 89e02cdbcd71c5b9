#pragma once
// The painters' classes, declared for headers that only name them.
class TsAnimTimer;
class TsFadeTimer;
struct TacPaintSource;
struct TacBorderSlices;
