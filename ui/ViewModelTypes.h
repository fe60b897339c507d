#pragma once

// Makes the view model a QML type of the Verlo module, so that views declare "required property
// ContentViewModel viewModel" and QML checks what they are given, and compare sections as
// ContentViewModel.SystemData, file categories as Category.DockerData and safety badges as
// Safety.Review rather than by their names. Call before loading the window; more calls do nothing.
void registerViewModelTypes();
