#pragma once

// Makes the view model a QML type of the Verlo module, so that views declare "required property
// ContentViewModel viewModel" and QML checks what they are given, and compare sections as
// ContentViewModel.SystemData rather than by their titles. Call before loading the window; more
// calls do nothing.
void registerViewModelTypes();
