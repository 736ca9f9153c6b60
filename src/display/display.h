#pragma once

#include "ui/design.h"

// The full-screen countdown window: its design, set-up and handlers.
namespace fc::display {

ui::WindowDesign DisplayWindowDesign();
void RegisterDisplayWindow();

// Created event: covers the primary screen, copies the settings, lays out.
void OnDisplayCreated();
void LayoutTitleBand();
void LayoutTimePanel();

// Ends the recorded worker and shows the start time.
void ShowStartTime();

// The countdown worker's entry, and its run.
void CountdownThreadEntry();
void RunCountdown();

// The display goes, however it was closed: its worker goes with it.
void OnDisplayDestroyed();

// Timer handlers.
void OnKeyPollTick();
void OnScrollTick();
void OnFlashTick();

// The face the time panel asks for, and what stands in for it where it is missing.
inline constexpr const char16_t* kTimeFace = u"Adobe 黑体 Std R";
void InstallFontSubstitutes();

}  // namespace fc::display
