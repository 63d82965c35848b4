// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// A named effect that processes interleaved stereo frames in place.
class EffectEngine
{
public:
    virtual ~EffectEngine() = default;

    virtual void process (void* data, unsigned int byteSize, unsigned int numFrames) = 0;
    virtual int setParam (const char* name, float value) = 0;
    virtual float getParam (const char* name) = 0;
    virtual void setBypass (bool shouldBypass) = 0;
    virtual bool getBypass() = 0;
    virtual const std::vector<std::string>& getParamList() = 0;
    virtual int getParamType (const char* name) = 0;
    virtual const char* getIdName() = 0;
};
