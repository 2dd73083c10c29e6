#include <windows.h>

#include "winutils.h"

void TurnOnLoadMitigations() {
  // A Windows that does not know a policy refuses it; the program runs on without it.
  PROCESS_MITIGATION_IMAGE_LOAD_POLICY image = {};
  image.NoRemoteImages = 1;
  image.NoLowMandatoryLabelImages = 1;
  image.PreferSystem32Images = 1;
  SetMitigationPolicy(ProcessImageLoadPolicy, image.Flags);
  PROCESS_MITIGATION_EXTENSION_POINT_DISABLE_POLICY extension = {};
  extension.DisableExtensionPoints = 1;
  SetMitigationPolicy(ProcessExtensionPointDisablePolicy, extension.Flags);
}
