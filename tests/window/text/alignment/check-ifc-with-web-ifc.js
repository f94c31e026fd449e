// Reads each case's IFC file with web-ifc, an IFC engine that shares no code
// with Pendrio, and compares what it reads with what the engine calculated
// (<case>.json from write_alignment_cases):
// - the schema, the length unit, one alignment with a LINE in plan;
// - the vertical segments' type, distance along, length, height and slopes,
//   exactly, and the radius as IFC defines it, L / (g2 - g1);
// - the points web-ifc computes on the curve, one per section start (it is
//   asked for as many segments as there are sections), to 1E-6 m of the
//   engine's heights;
// - the chainage at the start, from the referent's Pset_Stationing.
//
//   node check-ifc-with-web-ifc.js WEB_IFC_PACKAGE_DIR CASES_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const WebIFC = require(process.argv[2]);
const casesDir = process.argv[3];

let failures = 0;
function check(ok, what) {
  if (!ok) {
    failures++;
    console.log(`FAIL ${what}`);
  }
}
const near = (a, b, tolerance) => Math.abs(a - b) <= tolerance;

// A measure as web-ifc reads it from the file's text.
const value = (measure) => (measure === null ? null : measure._representationValue);

function lines(api, model, type) {
  const ids = api.GetLineIDsWithType(model, type);
  const result = [];
  for (let i = 0; i < ids.size(); i++) result.push(api.GetLine(model, ids.get(i)));
  return result;
}

function checkSegments(api, model, name, want) {
  const segments = lines(api, model, WebIFC.IFCALIGNMENTVERTICALSEGMENT)
    .sort((a, b) => value(a.StartDistAlong) - value(b.StartDistAlong));
  check(segments.length === 2, `${name}: ${segments.length} vertical segments, not the curve and its end`);
  const [curve, end] = segments;
  const last = want.heights[want.heights.length - 1];
  const curved = want.startSlope !== want.endSlope;
  check(curve.PredefinedType.value === (curved ? 'PARABOLICARC' : 'CONSTANTGRADIENT'),
    `${name}: segment type ${curve.PredefinedType.value}`);
  const expected = [
    [curve.StartDistAlong, 0], [curve.HorizontalLength, want.length],
    [curve.StartHeight, want.heights[0]], [curve.StartGradient, want.startSlope],
    [curve.EndGradient, want.endSlope],
    [curve.RadiusOfCurvature, curved ? want.length / (want.endSlope - want.startSlope) : null],
    [end.StartDistAlong, want.length], [end.HorizontalLength, 0], [end.StartHeight, last],
    [end.StartGradient, want.endSlope], [end.EndGradient, want.endSlope]];
  expected.forEach(([measure, number], i) =>
    check(Object.is(value(measure), number), `${name}: value ${i} of the segments reads ${value(measure)}, not ${number}`));
  // A crest turns clockwise, and IFC gives a clockwise radius a minus sign.
  if (curved) check((value(curve.RadiusOfCurvature) < 0) === (want.endSlope < want.startSlope), `${name}: radius sign`);
}

function checkPoints(api, model, name, want) {
  const alignments = api.GetAllAlignments(model);
  check(alignments.length === 1, `${name}: ${alignments.length} alignments`);
  const [line] = alignments[0].horizontal;
  check(line.data.includes('TYPE: LINE') && line.points.length === 2 &&
    line.points[1].x === want.length && line.points[1].y === 0, `${name}: the line in plan`);
  const [curve, end] = alignments[0].vertical;
  const n = want.sections;
  // On a constant gradient web-ifc gives the two ends only.
  const rows = curve.points.length === 2 ? [0, n] : [...Array(n + 1).keys()];
  check(curve.points.length === rows.length, `${name}: ${curve.points.length} points on the curve`);
  rows.forEach((section, i) => {
    const point = curve.points[i];
    check(near(point.x, (want.length * section) / n, 1e-9 * want.length) &&
      near(point.y, want.heights[section], 1e-6),
    `${name}: section ${section + 1} starts at (${point.x}, ${point.y}), the engine has ${want.heights[section]}`);
  });
  check(near(end.points[0].y, want.heights[n], 1e-6), `${name}: the end`);
}

function checkStationing(api, model, name, want) {
  const [alignment] = lines(api, model, WebIFC.IFCALIGNMENT);
  const nests = lines(api, model, WebIFC.IFCRELNESTS).filter((r) => r.RelatingObject.value === alignment.expressID);
  const referents = lines(api, model, WebIFC.IFCREFERENT).map((r) => r.expressID);
  const first = nests.map((r) => r.RelatedObjects[0].value).find((id) => referents.includes(id));
  const stationing = lines(api, model, WebIFC.IFCRELDEFINESBYPROPERTIES)
    .filter((r) => r.RelatedObjects.some((o) => o.value === first))
    .map((r) => api.GetLine(model, r.RelatingPropertyDefinition.value, true))
    .find((set) => set.Name.value === 'Pset_Stationing');
  const station = stationing && stationing.HasProperties.find((p) => p.Name.value === 'Station');
  check(station && Object.is(value(station.NominalValue), want.startChainage),
    `${name}: the station at the start reads ${station && value(station.NominalValue)}`);
}

function checkProject(api, model, name) {
  check(api.GetModelSchema(model) === 'IFC4X3_ADD2', `${name}: schema ${api.GetModelSchema(model)}`);
  const length = lines(api, model, WebIFC.IFCSIUNIT).find((u) => u.UnitType.value === 'LENGTHUNIT');
  check(length && length.Name.value === 'METRE' && length.Prefix === null, `${name}: length unit`);
}

(async () => {
  const api = new WebIFC.IfcAPI();
  await api.Init();
  const names = JSON.parse(fs.readFileSync(path.join(casesDir, 'cases.json'), 'utf8'));
  for (const name of names) {
    const want = JSON.parse(fs.readFileSync(path.join(casesDir, `${name}.json`), 'utf8'));
    const bytes = fs.readFileSync(path.join(casesDir, `${name}.ifc`));
    const model = api.OpenModel(new Uint8Array(bytes), { CIRCLE_SEGMENTS: want.sections });
    checkProject(api, model, name);
    checkSegments(api, model, name, want);
    checkPoints(api, model, name, want);
    checkStationing(api, model, name, want);
    api.CloseModel(model);
    console.log(`${name}: read by web-ifc ${api.GetVersion()}, ${want.sections} sections`);
  }
  process.exit(failures === 0 ? 0 : 1);
})();
