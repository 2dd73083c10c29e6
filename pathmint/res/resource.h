// Resource identifiers of pathmint.
#ifndef PATHMINT_RESOURCE_H
#define PATHMINT_RESOURCE_H

#define IDI_PATHMINT 101

#endif
