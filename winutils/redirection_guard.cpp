#include <windows.h>

#include "winutils.h"

void TurnOnRedirectionGuard() {
  // Refused before Windows 10 22H2 (and 11); the program then runs as before.
  PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY trust = {};
  trust.EnforceRedirectionTrust = 1;
  SetMitigationPolicy(ProcessRedirectionTrustPolicy, trust.Flags);
}
