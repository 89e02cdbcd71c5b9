#pragma once
// The demo question bank: school informatics, five options each.
#include <array>
#include <span>

struct DemoQuestion {
  const char* Text;
  std::array<const char*, 5> Options;
  int Correct;  // 1 … 5
};

std::span<const DemoQuestion> DemoQuestions();
